#pragma once
// Bytes become text, and text bytes, only here, through ICU's converters.
//
// CP932 is Windows' own Shift-JIS table ("windows-31j": 0x8160 is U+FF5E WAVE DASH
// FULLWIDTH TILDE). Bytes that are not valid decode to U+FFFD; characters that CP932
// cannot hold encode as "?".

#include <QByteArray>
#include <QString>

namespace morvik {

QString DecodeCp932(const QByteArray& bytes);
QByteArray EncodeCp932(const QString& text);

// UTF-8 without its byte-order mark; invalid sequences decode to U+FFFD.
QString DecodeUtf8(const QByteArray& bytes);

// True when the bytes start with a UTF-8 byte-order mark, or are valid UTF-8 holding at
// least one multi-byte sequence. Plain ASCII is not taken as UTF-8: it reads the same
// either way.
bool LooksLikeUtf8(const QByteArray& bytes);

// An input file's text: UTF-8 when it looks like UTF-8, else CP932. Exports get
// re-saved in either encoding, and reading one as the other garbles every name.
QString DecodeInputFile(const QByteArray& bytes);

}  // namespace morvik
