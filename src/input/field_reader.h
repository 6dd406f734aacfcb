#pragma once
// The delimited field reader: a text read as a stream of fields, not of lines.
//
// A field ends at a comma, a line end (CR LF, a lone CR or a lone LF) or the end of the
// text; a line end counts as one separator, so a line with too many or too few fields
// shifts every later record. Blanks before a field are skipped; blanks at its end are
// kept. Two separators in a row give an empty field, an empty line one empty field. A
// field that begins with a double quote runs to the closing quote, keeps the commas and
// line ends inside it and loses both quotes; two quotes in a row inside it stand for one
// quote, and text between the closing quote and the next separator is appended. A quote
// inside an unquoted field is an ordinary character.
//
// Empty lines after the last record are the end of the text, not records: a file edited
// by hand often ends with some. Empty lines between records are still empty fields.

#include <QString>

#include <span>

namespace morvik {

class FieldReader {
 public:
  // `source` names the text in failure details (normally the file's name).
  FieldReader(QString text, QString source);

  // True when no data is left, or nothing but line ends: asked before each record.
  bool AtEnd() const;

  // Reads the next record, one field into each element of `fields`. The end of the text
  // inside a record throws RunFailure naming the source and the record number.
  void ReadRecord(std::span<QString> fields);

  // Number of records read so far.
  int recordCount() const { return records_; }

  // Characters consumed so far, for progress estimates.
  qsizetype position() const { return pos_; }

 private:
  QString NextField();
  QString ReadQuoted();
  void SkipSeparator();

  QString text_;
  QString source_;
  qsizetype pos_ = 0;
  qsizetype dataEnd_ = 0;         // just after the last character that is not a line end
  bool fieldAfterComma_ = false;  // a comma was the last separator: one more field follows
  int records_ = 0;
};

}  // namespace morvik
