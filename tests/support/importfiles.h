#pragma once

#include <QByteArray>

// One ADIF record of 1 June 2024, 12:00, with the fields a test is about (band, mode, call...) in between:
//     adifRecord("<BAND:3>20M <MODE:2>CW <CALL:5>SP1AA")
inline QByteArray adifRecord(const QByteArray& fields) {
    return "<QSO_DATE:8>20240601 <TIME_ON:4>1200 " + fields + " <EOR>\r\n";
}
