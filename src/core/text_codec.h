#pragma once
// Bytes become text, and text bytes, only here, through ICU's converters.
//
// CP932 is Windows' own Shift-JIS table, read and written as Windows does: every byte
// 00-7F is the same code point; 80, A0, FD, FE, FF are U+0080 and U+F8F0-U+F8F3; 0x8160 is
// U+FF5E FULLWIDTH TILDE; the IBM extensions are written in their FA-FC form; and the JIS
// forms of a few characters (WAVE DASH, MINUS SIGN, EM DASH, ...) are written as the CP932
// characters they stand for. Bytes that are not valid decode to U+FFFD; any other code
// point that CP932 cannot hold, invisible ones included, encodes as "?".

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

// An input file's text: UTF-8 when it looks like UTF-8 (as LooksLikeUtf8 tells, here in
// the same pass as the decoding), else CP932. Exports get re-saved in either encoding, and
// reading one as the other garbles every name.
QString DecodeInputFile(const QByteArray& bytes);

}  // namespace morvik
