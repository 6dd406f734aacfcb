#include "input/field_reader.h"

#include "core/failures.h"

namespace morvik {
namespace {

bool IsLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

}  // namespace

FieldReader::FieldReader(QString text, QString source)
    : text_(std::move(text)), source_(std::move(source)), dataEnd_(text_.size()) {
  while (dataEnd_ > 0 && IsLineEnd(text_[dataEnd_ - 1])) --dataEnd_;
}

bool FieldReader::AtEnd() const { return pos_ >= dataEnd_ && !fieldAfterComma_; }

void FieldReader::ReadRecord(std::span<QString> fields) {
  ++records_;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (AtEnd()) {
      throw RunFailure(QStringLiteral("%1: record %2 is cut short by the end of the file "
                                      "(%3 of %4 fields)")
                           .arg(source_)
                           .arg(records_)
                           .arg(i)
                           .arg(fields.size()));
    }
    fields[i] = NextField();
  }
}

QString FieldReader::NextField() {
  fieldAfterComma_ = false;
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  QString field;
  if (pos_ < text_.size() && text_[pos_] == u'"') field = ReadQuoted();
  const qsizetype start = pos_;
  while (pos_ < text_.size() && text_[pos_] != u',' && !IsLineEnd(text_[pos_])) ++pos_;
  field += QStringView(text_).mid(start, pos_ - start);
  SkipSeparator();
  return field;
}

QString FieldReader::ReadQuoted() {
  QString field;
  ++pos_;  // the opening quote
  while (pos_ < text_.size()) {
    const qsizetype close = text_.indexOf(u'"', pos_);
    if (close < 0) break;
    field += QStringView(text_).mid(pos_, close - pos_);
    pos_ = close + 1;
    if (pos_ < text_.size() && text_[pos_] == u'"') {
      field += u'"';
      ++pos_;
      continue;
    }
    return field;
  }
  // No closing quote: the field runs to the end of the text.
  field += QStringView(text_).mid(pos_);
  pos_ = text_.size();
  return field;
}

void FieldReader::SkipSeparator() {
  if (pos_ >= text_.size()) return;
  if (text_[pos_] == u',') {
    ++pos_;
    fieldAfterComma_ = true;
    return;
  }
  if (text_[pos_] == u'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n') ++pos_;
  ++pos_;
}

}  // namespace morvik
