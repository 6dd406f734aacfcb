#pragma once
// GoogleTest prints a QString as its UTF-8 text. Without this the printer walks a QString
// as a container of QChar, each again a container, and a failed comparison crashes.
// Every test source gets this header through the build (-include).

#include <QString>

#include <ostream>

void PrintTo(const QString& text, std::ostream* os);
