// A batch run over every CP932 character. One request's content and one stamp's reason
// hold all of them, read from CP932 bytes or from UTF-8; the check dumps and the work CSV
// must hold each character as Windows programs write it (testing/cp932_reference.h).
#include <gtest/gtest.h>

#include <QDir>

#include <vector>

#include "app/batch_mode.h"
#include "batch_runner.h"
#include "core/text_codec.h"
#include "testing/cp932_reference.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

using testing::Cp932Reference;

const QString kRequestHeader = QStringLiteral(
    "申請者社員番号,承認状態,申請番号,申請種別,申請日,申請所属,申請者名,開始日,開始時間,終了日,"
    "終了時間,内容,承認者（承認状態）,時間外申請時間,時間外休憩時間,時間外振替日,時間外振替時間");
const QString kStampHeader = QStringLiteral(
    "社員番号,氏名,所属,所属コード,職種,雇用区分,打刻区分,打刻方法,打刻日,打刻時刻,曜日,端末名,"
    "修正区分,修正理由,登録日時");
// The text around the field that holds every character; the field goes between the parts.
const QString kRequestBefore = QStringLiteral(
    "00100,承認,1001,時間外申請,2026/11/01,総務課,山田　太郎,2026/11/02,17:15,2026/11/02,18:45,");
const QString kRequestAfter = QStringLiteral(",上司（承認）,1.5,0,,\r\n");
const QString kStampBefore = QStringLiteral(
    "00100,山田　太郎,総務課,D110,医師,常勤,出勤,ICカード,2026/11/02,08:20,月,本館,あり,");
const QString kStampAfter = QStringLiteral(
    ",2026/11/02 08:20:00\r\n"
    "00100,山田　太郎,総務課,D110,医師,常勤,退勤,ICカード,2026/11/02,18:50,月,本館,なし,,"
    "2026/11/02 18:50:00\r\n");
const QString kOvertimeLabel = QStringLiteral("時間外 ");  // before the content in the work CSV

// One character of the run: how it is named in a failure, and the bytes expected for it.
struct Expected {
  QString name;
  QByteArray bytes;
};

// The input field (quotes doubled, in quotes) and what each character must become.
struct AllCharacters {
  QByteArray quotedField;
  std::vector<Expected> expected;
};

QByteArray Quoted(QByteArray field) { return '"' + field.replace('"', "\"\"") + '"'; }

// Every byte sequence of the table, as raw CP932 bytes.
AllCharacters FromCp932Bytes() {
  const Cp932Reference& reference = Cp932Reference::Get();
  AllCharacters all;
  QByteArray field;
  for (const testing::Cp932Character& c : reference.characters()) {
    field += c.bytes;
    all.expected.push_back(
        {QString::fromLatin1(c.bytes.toHex(' ')), reference.ProgramWrites(c.codePoint)});
  }
  all.quotedField = Quoted(field);
  return all;
}

// Every code point the program writes as a CP932 character, then a few that CP932 cannot
// hold (invisible ones, a private-use one ICU would map, one beyond the BMP), in UTF-8.
AllCharacters FromUtf8() {
  const Cp932Reference& reference = Cp932Reference::Get();
  std::vector<char32_t> codePoints;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    if (!QChar::isSurrogate(c) && reference.ProgramWrites(c) != "?") codePoints.push_back(c);
  }
  codePoints.insert(codePoints.end(), {U'\u00AD', U'\u200B', U'\u2060', U'\uFE0F', U'\uFEFF',
                                       U'\uF86F', U'\U000E0100', U'\U0001F600'});
  AllCharacters all;
  QString field;
  for (const char32_t c : codePoints) {
    testing::AppendCodePoint(field, c);
    all.expected.push_back(
        {QStringLiteral("U+%1").arg(c, 4, 16, QChar(u'0')), reference.ProgramWrites(c)});
  }
  all.quotedField = Quoted(field.toUtf8());
  return all;
}

using CsvLines = QList<QList<QByteArray>>;

// The fields of a file the program wrote: every field quoted, a doubled quote standing for
// one, CR LF after each line. No CP932 trail byte is a quote, comma or line end, so the
// bytes split as they are.
CsvLines ParseWrittenCsv(const QByteArray& bytes) {
  CsvLines lines(1);
  QByteArray field;
  bool quoted = false;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (quoted && c == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"') {
      field += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == ',' || c == '\n')) {
      lines.last() << field;
      field.clear();
      if (c == '\n') lines.append(QList<QByteArray>());
    } else if (quoted || c != '\r') {
      field += c;
    }
  }
  lines.removeLast();  // the empty piece after the last line end
  return lines;
}

// The field of `line` in the column whose first line reads `header`.
QByteArray Field(const CsvLines& lines, int line, const QString& header) {
  const qsizetype column = lines.value(0).indexOf(EncodeCp932(header));
  return lines.value(line).value(column);
}

// Names the first character whose bytes differ, so a failure says which one.
void ExpectCharacters(const QByteArray& field, const QByteArray& prefix,
                      const std::vector<Expected>& expected, const char* where) {
  QByteArray whole = prefix;
  for (const Expected& e : expected) whole += e.bytes;
  if (field == whole) return;
  qsizetype at = prefix.size();
  QString first = QStringLiteral("the prefix");
  if (field.startsWith(prefix)) {
    for (const Expected& e : expected) {
      first = e.name + ": expected " + QString::fromLatin1(e.bytes.toHex(' '));
      if (field.mid(at, e.bytes.size()) != e.bytes) break;
      at += e.bytes.size();
    }
  }
  ADD_FAILURE() << where << ": " << field.size() << " bytes, expected " << whole.size()
                << "; first difference at " << first.toStdString() << ", written "
                << field.mid(at, 8).toHex(' ').toStdString();
}

struct InputEncoding {
  const char* name;
  AllCharacters (*characters)();
  QByteArray (*encode)(const QString&);
};

QByteArray Utf8(const QString& text) { return text.toUtf8(); }

class Cp932Run : public ::testing::TestWithParam<InputEncoding> {
 protected:
  Cp932Run() {
    program.WriteCp932(QStringLiteral("MorvikGraph_祝日_max100.txt"), "2026/11/03,文化の日\r\n");
  }

  void WriteInputs(const InputEncoding& input, const QByteArray& field) {
    start.WriteBytes("req.csv", input.encode(kRequestHeader + "\r\n" + kRequestBefore) + field +
                                    input.encode(kRequestAfter));
    start.WriteBytes("stamp.csv", input.encode(kStampHeader + "\r\n" + kStampBefore) + field +
                                      input.encode(kStampAfter));
  }

  CsvLines Output(const QString& name) { return ParseWrittenCsv(start.ReadBytes("out/" + name)); }

  testing::TempFolder program;
  testing::TempFolder start;
};

TEST_P(Cp932Run, DumpsAndWorkCsvHoldEveryCharacterAsWindowsWritesIt) {
  const AllCharacters all = GetParam().characters();
  WriteInputs(GetParam(), all.quotedField);

  const testing::BatchResult result =
      testing::RunBatchCapturing({"--batch", "--request", "req.csv", "--stamp", "stamp.csv",
                                  "--sjis", "--csv", "--dump", "--out", "out"},
                                 program.path(), start.path());
  ASSERT_EQ(result.exit, kExitFinished) << result.err.toStdString();

  ExpectCharacters(Field(Output("データ確認用_申請.csv"), 1, "内容"), {}, all.expected,
                   "request dump");
  ExpectCharacters(Field(Output("データ確認用_打刻.csv"), 1, "修正理由"), {}, all.expected,
                   "stamp dump");
  const QStringList workCsv = QDir(start.FilePath("out")).entryList({"2026*.csv"}, QDir::Files);
  ASSERT_EQ(workCsv.size(), 1);
  ExpectCharacters(Field(Output(workCsv[0]), 2, "1申請種別+内容"), EncodeCp932(kOvertimeLabel),
                   all.expected, "work CSV");
}

INSTANTIATE_TEST_SUITE_P(All, Cp932Run,
                         ::testing::Values(InputEncoding{"Cp932", FromCp932Bytes, EncodeCp932},
                                           InputEncoding{"Utf8", FromUtf8, Utf8}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvik
