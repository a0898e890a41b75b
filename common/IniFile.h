#pragma once

// Reading INI files the way the program's configuration files are written:
// section and key names are case-insensitive, and a key that appears more
// than once yields its first value.

#include <QString>

// The value of [section] key in the file at `path`, or `defaultValue` when
// the file, the section or the key is missing.
QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue = QString());
