#pragma once

#include <QString>

#include <cstddef>
#include <span>

// The built-in English table: every key the program shows, with its text.
struct Language_En_Row
{
    const char* Key;
    const char16_t* Text;
};

std::span<const Language_En_Row> Language_En();

// The English text of a key: exact, case-sensitive match; empty when the
// key has no row.
QString English_Text(const QString& key);
