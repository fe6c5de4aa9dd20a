#pragma once

#include <QByteArray>
#include <QString>

// Name of the 8-bit (or double-byte) code page that goes with a font
// character-set number, as iconv knows it. Unknown numbers give
// windows-1252.
const char* Code_Page_Name(int charset);

// Decodes text stored in the code page of a font character set. A byte
// sequence the code page cannot represent becomes U+FFFD; nothing is dropped.
QString Decode_Code_Page(const QByteArray& bytes, int charset);
