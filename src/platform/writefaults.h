#pragma once

#include <QtGlobal>

// A disk that fills up, for the tests: every file writer of the program asks here how much of a write the
// disk takes. In the running program there is no limit and the answer is always "all of it".
namespace WriteFaults {

// From now on only this many more bytes fit; a negative value lifts the limit.
void setSpaceLeft(qint64 bytes);
// How many of the wanted bytes fit; the rest of the write fails as on a full disk.
qint64 admit(qint64 wanted);

} // namespace WriteFaults
