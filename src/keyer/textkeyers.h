#pragma once

#include "keyer/keyerconfig.h"

#include <memory>

class Datagrams;
class SerialStream;
class TextKeyer;

// The Winkeyer or cwdaemon keyer of the settings, unopened, over the given byte stream or datagram socket; null
// for the kinds we time ourselves, or when the seam it needs is missing.
std::unique_ptr<TextKeyer> makeTextKeyer(const KeyerConfig& config, SerialStream* stream, Datagrams* datagrams);
