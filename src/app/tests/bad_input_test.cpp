// A catalogue of bad inputs run through batch mode: each gets its message and exit
// status, the failure detail names the file and the record or line, the outputs of the
// staff members finished before the failure are complete, the others are left as they
// were, and nothing is written outside the output folder.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "app/batch_mode.h"
#include "batch_runner.h"
#include "core/output_file.h"
#include "core/text_codec.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kHolidayName = QStringLiteral("MorvikGraph_祝日_max100.txt");
const QString kError1 = QStringLiteral(
    "エラー：何らかのエラーが発生しました．ファイルを開いている場合は閉じてからもう一度実行して"
    "ください．(Error1)");
const QString kError2 = QStringLiteral("(Error2)");
const QString kFinished = QStringLiteral("処理を終了しました．");
const QString kTooManyRequests = QStringLiteral("申請ファイルは最大5,000行です．");
const QString kTooManyStamps = QStringLiteral("打刻CSVファイルが50,000行を超えています．");
const QString kTooManyHolidays = QStringLiteral("100行を超えました");
const QString kTooManyStaff = QStringLiteral("5000行を超えました");
const QString kMonthMismatch = QStringLiteral("年月が違っている可能性があります");

const QString kRequestHeader = QStringLiteral(
    "申請者社員番号,承認状態,申請番号,申請種別,申請日,申請所属,申請者名,開始日,開始時間,終了日,"
    "終了時間,内容,承認者（承認状態）,時間外申請時間,時間外休憩時間,時間外振替日,時間外振替時間");
const QString kStampHeader = QStringLiteral(
    "社員番号,氏名,所属,所属コード,職種,雇用区分,打刻区分,打刻方法,打刻日,打刻時刻,曜日,端末名,"
    "修正区分,修正理由,登録日時");

// Request fields (0-based positions in a row).
enum RequestField {
  kNo = 0,
  kReqNo = 2,
  kType = 3,
  kDept = 5,
  kName = 6,
  kStartDate = 7,
  kStartTime = 8,
  kEndDate = 9,
  kEndTime = 10,
  kContent = 11,
  kHours = 13
};

struct Member {
  QString no, name, dept;
};
const Member kMembers[] = {{"00100", "山田　太郎", "総務課"},
                           {"00200", "佐藤　花子", "看護部"},
                           {"00300", "鈴木　一郎", "薬剤部"}};

QStringList RequestRow(const Member& m, int number, const QString& type, int day,
                       const QString& start, const QString& end, const QString& hours) {
  const QString date = QStringLiteral("2026/11/%1").arg(day, 2, 10, QLatin1Char('0'));
  return {
      m.no, "承認", QString::number(number), type,  "2026/11/01", m.dept, m.name, date, start, date,
      end,  "業務", "上司（承認）",          hours, "0",          "",     ""};
}

QStringList StampLine(const Member& m, const QString& date, const QString& time) {
  return {m.no,   m.name, m.dept,     "D110", "医師",
          "常勤", "出勤", "ICカード", date,   time,
          "月",   "本館", "なし",     "",     date + " " + time + ":00"};
}

// The month of three staff members in the managers' form: requests (CP932), stamps
// (UTF-8) and the staff list, as the cases spoil them.
struct Inputs {
  QList<QStringList> requests;  // rows 0,1 staff 00100; 2,3 00200; 4,5 00300
  QList<QStringList> stamps;
  QStringList staff = {"00100", "00200", "00300"};
  QStringList holidays = {"2026/11/03,文化の日"};
  QString requestEnd = "\r\n", stampEnd = "\r\n", listEnd = "\r\n";
  // Last touches on the encoded bytes.
  std::function<QByteArray(QByteArray)> requestBytes, stampBytes, listBytes, holidayBytes;
  QStringList extraArguments;
  bool workCsv = true;
  // Staff number -> the name its outputs get when it differs from the plain one.
  std::map<QString, QString> stems;
  QString folderInOut;  // an output name taken by a folder

  Inputs() {
    int number = 1001;
    for (const Member& m : kMembers) {
      requests << RequestRow(m, number++, "時間外申請", 2, "17:15", "18:45", "1.5");
      requests << RequestRow(m, number++, "休暇申請(午前年休)", 5, "08:30", "12:00", "");
      stamps << StampLine(m, "2026/11/02", "08:20") << StampLine(m, "2026/11/02", "18:50");
    }
  }
};

QString Joined(const QString& header, const QList<QStringList>& rows, const QString& end) {
  QString text = header + end;
  for (const QStringList& row : rows) text += row.join(u',') + end;
  return text;
}

QByteArray Touched(const std::function<QByteArray(QByteArray)>& touch, QByteArray bytes) {
  return touch ? touch(std::move(bytes)) : bytes;
}

QString Stem(const Inputs& in, const Member& m) {
  const auto found = in.stems.find(m.no);
  return found != in.stems.end() ? found->second
                                 : QStringLiteral("202611_%1_%2_%3").arg(m.dept, m.no, m.name);
}

QByteArray OldChart() {
  QImage image(1024, 768, QImage::Format_RGB32);
  image.fill(Qt::gray);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "jpg");
  return bytes;
}

const QByteArray kOldCsv = "old\r\n";

struct BadInput {
  const char* label;
  std::function<void(Inputs&)> spoil;
  int exit;
  // Texts that stand on standard error; {request}, {stamp}, {list} and {out} become paths.
  QStringList stderrHas;
  QStringList finished;  // staff numbers whose outputs this run completed
};

class BadInputTest : public ::testing::TestWithParam<BadInput> {
 protected:
  QString Path(const QString& name) const { return start.FilePath(name); }

  QString Expand(QString text) const {
    return text.replace("{request}", Path("req.csv"))
        .replace("{stamp}", Path("stamp.csv"))
        .replace("{list}", Path("list.txt"))
        .replace("{out}", Path("out"))
        .replace("{folder}", Path("folder"));
  }

  void WriteInputs(const Inputs& in) {
    start.WriteBytes(
        "req.csv",
        Touched(in.requestBytes, EncodeCp932(Joined(kRequestHeader, in.requests, in.requestEnd))));
    start.WriteBytes("stamp.csv",
                     Touched(in.stampBytes, Joined(kStampHeader, in.stamps, in.stampEnd).toUtf8()));
    const QString list =
        QStringLiteral("グラフを作成したい職員番号を2行目以降に追加してください｡") + in.listEnd +
        in.staff.join(in.listEnd) + in.listEnd;
    start.WriteBytes("list.txt", Touched(in.listBytes, EncodeCp932(list)));
    QDir().mkpath(Path("folder"));
    program.WriteBytes(kHolidayName,
                       Touched(in.holidayBytes, EncodeCp932(in.holidays.join("\r\n") + "\r\n")));
  }

  // Outputs of an earlier run: every staff member's chart and work CSV.
  void WriteOldOutputs(const Inputs& in) {
    ASSERT_TRUE(QDir().mkpath(Path("out")));
    for (const Member& m : kMembers) {
      start.WriteBytes("out/" + Stem(in, m) + ".jpg", OldChart());
      start.WriteBytes("out/" + Stem(in, m) + ".csv", kOldCsv);
    }
    if (!in.folderInOut.isEmpty()) {
      QFile::remove(Path("out/" + in.folderInOut));
      ASSERT_TRUE(QDir().mkpath(Path("out/" + in.folderInOut)));
    }
  }

  testing::BatchResult Run(const Inputs& in) {
    QStringList arguments = {"--batch",      "--request", "req.csv", "--stamp", "stamp.csv",
                             "--staff-list", "list.txt",  "--utf8",  "--out",   "out"};
    if (in.workCsv) arguments << "--csv";
    arguments << in.extraArguments;
    return testing::RunBatchCapturing(arguments, program.path(), start.path());
  }

  // Every path under the start folder but the output folder, with its size.
  QStringList OutsideListing() const {
    QStringList entries;
    QDirIterator it(start.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      if (path.startsWith(Path("out"))) continue;
      entries << path + QStringLiteral(" %1").arg(QFileInfo(path).size());
    }
    entries.sort();
    return entries;
  }

  void ExpectFinished(const Inputs& in, const Member& m) {
    const QString stem = "out/" + Stem(in, m);
    const QImage chart(Path(stem + ".jpg"));
    EXPECT_EQ(chart.size(), QSize(1024, 768)) << m.no.toStdString();
    EXPECT_FALSE(start.ReadBytes(stem + ".jpg") == OldChart()) << m.no.toStdString();
    if (!in.workCsv) return;
    const QByteArray csv = start.ReadBytes(stem + ".csv");
    EXPECT_EQ(csv.count("\r\n"), 31) << m.no.toStdString();  // header and 30 days
    EXPECT_TRUE(csv.endsWith("\"\r\n")) << m.no.toStdString();
    EXPECT_TRUE(DecodeCp932(csv).startsWith("\"申請者社員番号\",")) << m.no.toStdString();
  }

  void ExpectUntouched(const Inputs& in, const Member& m) {
    const QString stem = "out/" + Stem(in, m);
    EXPECT_TRUE(start.ReadBytes(stem + ".jpg") == OldChart()) << m.no.toStdString();
    if (QFileInfo(Path(stem + ".csv")).isFile()) {
      EXPECT_TRUE(start.ReadBytes(stem + ".csv") == kOldCsv) << m.no.toStdString();
    }
  }

  testing::TempFolder program;
  testing::TempFolder start;
};

TEST_P(BadInputTest, GivesItsMessageAndKeepsFinishedOutputs) {
  const BadInput& c = GetParam();
  Inputs in;
  if (c.spoil) c.spoil(in);
  WriteInputs(in);
  WriteOldOutputs(in);
  const QStringList outsideBefore = OutsideListing();

  const testing::BatchResult result = Run(in);

  EXPECT_EQ(result.exit, c.exit) << result.err.toStdString();
  for (const QString& text : c.stderrHas) {
    EXPECT_TRUE(result.err.contains(Expand(text)))
        << "missing: " << Expand(text).toStdString() << "\nstderr: " << result.err.toStdString();
  }
  for (const Member& m : kMembers) {
    if (c.finished.contains(m.no)) {
      ExpectFinished(in, m);
    } else {
      ExpectUntouched(in, m);
    }
  }
  EXPECT_EQ(OutsideListing(), outsideBefore);
  for (const QString& name : QDir(Path("out")).entryList(QDir::Files | QDir::Hidden)) {
    EXPECT_FALSE(IsTemporaryOutputName(name)) << name.toStdString();
  }
}

const QStringList kAll = {"00100", "00200", "00300"};
const QStringList kFirstTwo = {"00100", "00200"};

QStringList Failed(const QString& detail) { return {kError1, "what failed: " + detail}; }

// A comma inside the reason splits a UTF-8 stamp line into 16 fields.
void CommaInReason(Inputs& in) { in.stamps[1][13] = "電車,遅延"; }

const BadInput kCases[] = {
    // Record structure.
    {"RequestRecordCutShort",
     [](Inputs& in) {
       in.requests.last() = in.requests.last().mid(0, 9);
       in.requestBytes = [](QByteArray b) { return b.chopped(2); };
     },
     kExitRunFailed,
     Failed("{request}: record 7 is cut short by the end of the file (9 of 17"),
     {}},
    {"UnterminatedQuote",
     [](Inputs& in) { in.requests[3][kContent] = "\"opened"; },
     kExitRunFailed,
     Failed("{request}: record 5 is cut short by the end of the file"),
     {}},
    {"StampRecordCutShortInTheShiftJisReader",
     [](Inputs& in) {
       in.extraArguments = {"--sjis"};
       in.stampBytes = [](QByteArray b) { return EncodeCp932(QString::fromUtf8(b)).chopped(30); };
     },
     kExitRunFailed,
     Failed("{stamp}: record 7 is cut short by the end of the file"),
     {}},
    {"StampLineWithSixteenthField",
     CommaInReason,
     kExitRunFailed,
     Failed("{stamp}: line 3: field 16 (\"2026/11/02 18:50:00\") lies beyond the 15 stamp "
            "columns"),
     {}},
    {"CommaInReasonBeforeAnEmptyLastField",
     [](Inputs& in) {
       CommaInReason(in);
       in.stamps[1][14].clear();
     },
     kExitFinished,
     {kFinished},
     kAll},
    {"LoneCrLineEnds",
     [](Inputs& in) { in.requestEnd = in.stampEnd = in.listEnd = "\r"; },
     kExitFinished,
     {kFinished},
     kAll},
    {"LoneLfLineEnds",
     [](Inputs& in) { in.requestEnd = in.stampEnd = in.listEnd = "\n"; },
     kExitFinished,
     {kFinished},
     kAll},
    // Bytes and encodings.
    {"NulBytesInARequestName",
     [](Inputs& in) {
       in.requests[2][kName] = in.requests[3][kName] = QStringLiteral("佐藤") + QChar(0) + "花子";
       in.stems["00200"] = "202611_看護部_00200_佐藤_花子";
     },
     kExitFinished,
     {kFinished},
     kAll},
    {"NulBytesInStampText",
     [](Inputs& in) { in.stamps[0][11] = QStringLiteral("本") + QChar(0) + QChar(0) + "館"; },
     kExitFinished,
     {kFinished},
     kAll},
    {"InvalidCp932",
     [](Inputs& in) {
       in.requestBytes = [](QByteArray b) {
         return b.replace("\x8b\xc6\x96\xb1", "\x81\x20\xff\xa0");
       };
     },
     kExitFinished,
     {kFinished},
     kAll},
    {"InvalidUtf8InTheStampFile",
     [](Inputs& in) { in.stampBytes = [](QByteArray b) { return b.replace("本館", "\xff\xfe"); }; },
     kExitFinished,
     {kFinished},
     kAll},
    {"ByteOrderMarks",
     [](Inputs& in) {
       in.stampBytes = [](QByteArray b) { return "\xEF\xBB\xBF" + b; };
       in.requestBytes = [](QByteArray b) { return "\xEF\xBB\xBF" + DecodeCp932(b).toUtf8(); };
     },
     kExitFinished,
     {kFinished},
     kAll},
    {"TenMegabyteField",
     [](Inputs& in) { in.requests[4][kContent] = QString(10 * 1024 * 1024, u'x'); },
     kExitFinished,
     {kFinished},
     kAll},
    // Dates, days and numbers of the requests.
    {"DateNotInThreePieces",
     [](Inputs& in) { in.requests[4][kStartDate] = "2026/11"; },
     kExitRunFailed,
     Failed("{request}: record 6, start date: the date \"2026/11\" does not split into three"),
     {}},
    {"DayIndex33",
     [](Inputs& in) { in.requests[4][kStartDate] = in.requests[4][kEndDate] = "2026/11/33"; },
     kExitRunFailed,
     Failed("{request}: request number 1005 (\"時間外申請\" of staff number 00300 starting "
            "2026/11/33 17:15): the day \"33\" of the start date is outside 0..32"),
     kFirstTwo},
    {"CrossingFromDay32",
     [](Inputs& in) {
       in.requests[4][kStartDate] = "2026/11/32";
       in.requests[4][kEndDate] = "2026/12/01";
     },
     kExitRunFailed,
     Failed("{request}: request number 1005 (\"時間外申請\" of staff number 00300 starting "
            "2026/11/32 17:15): crosses midnight from day 32"),
     kFirstTwo},
    {"OvertimeHoursNotANumber", [](Inputs& in) { in.requests[4][kHours] = "abc"; }, kExitRunFailed,
     Failed("{request}: request number 1005 (\"時間外申請\" of staff number 00300 starting "
            "2026/11/02 17:15): the overtime hours \"abc\" are not a number"),
     kFirstTwo},
    {"OvertimeHoursInExponentForm",
     [](Inputs& in) { in.requests[2][kHours] = "1e300"; },
     kExitRunFailed,
     Failed("{request}: request number 1003 (\"時間外申請\" of staff number 00200 starting "
            "2026/11/02 17:15): the overtime hours \"1e300\" are not a number"),
     {"00100"}},
    {"OvertimeHoursBeyondRange",
     [](Inputs& in) { in.requests[2][kHours] = "99999999"; },
     kExitRunFailed,
     Failed("{request}: request number 1003 (\"時間外申請\" of staff number 00200 starting "
            "2026/11/02 17:15): the overtime minutes of the month leave the 32-bit range"),
     {"00100"}},
    // Limits.
    {"RequestRows5001",
     [](Inputs& in) {
       for (int i = 0; i < 4995; ++i) in.requests.insert(0, in.requests[1]);
     },
     kExitFinished,
     {kTooManyRequests, kFinished},
     kAll},
    {"StampLines50001",
     [](Inputs& in) {
       for (int i = 0; i < 49995; ++i) in.stamps << in.stamps[5];
     },
     kExitFinished,
     {kTooManyStamps, kFinished},
     kAll},
    {"Holidays101",
     [](Inputs& in) {
       for (int i = 1; i <= 100; ++i) in.holidays << QStringLiteral("2026/01/01,x%1").arg(i);
     },
     kExitProgramEnd,
     {kTooManyHolidays},
     {}},
    {"StaffListLines5002",
     [](Inputs& in) {
       for (int i = 0; i < 4998; ++i) in.staff << QStringLiteral("%1").arg(10000 + i);
     },
     kExitProgramEnd,
     {kTooManyStaff},
     {}},
    // Empty files. Listed staff without requests get months of their own, and a month
    // that cannot be told from both files gets its warning.
    {"EmptyRequestFile",
     [](Inputs& in) { in.requestBytes = [](QByteArray) { return QByteArray(); }; },
     kExitFinished,
     {kMonthMismatch, kFinished},
     kAll},
    {"EmptyStampFile",
     [](Inputs& in) { in.stampBytes = [](QByteArray) { return QByteArray(); }; },
     kExitFinished,
     {kMonthMismatch, kFinished},
     kAll},
    {"EmptyStaffList",
     [](Inputs& in) { in.listBytes = [](QByteArray) { return QByteArray(); }; },
     kExitFinished,
     {kFinished},
     {}},
    {"EmptyHolidayFile",
     [](Inputs& in) { in.holidayBytes = [](QByteArray) { return QByteArray(); }; },
     kExitFinished,
     {kFinished},
     kAll},
    // Files and folders.
    {"RequestFileIsAFolder",
     [](Inputs& in) {
       in.extraArguments = {"--request", "folder"};
     },
     kExitRunFailed,
     Failed("{folder}: cannot be "),
     {}},
    {"StampFileIsAFolder",
     [](Inputs& in) {
       in.extraArguments = {"--stamp", "folder"};
     },
     kExitRunFailed,
     Failed("{folder}: cannot be "),
     {}},
    {"OutputFolderUnderAFile",
     [](Inputs& in) {
       in.extraArguments = {"--out", "req.csv/out"};
     },
     kExitRefused,
     {"cannot create the output folder"},
     {}},
    {"WorkCsvNameTakenByAFolder",
     [](Inputs& in) { in.folderInOut = "202611_看護部_00200_佐藤　花子.csv"; },
     kExitRunFailed,
     Failed("{out}/202611_看護部_00200_佐藤　花子.csv: cannot be written"),
     {"00100"}},
    // Staff data that could reach outside the output folder.
    {"NameWithSlash",
     [](Inputs& in) {
       in.requests[2][kName] = in.requests[3][kName] = "../../佐藤/花子";
       in.stems["00200"] = "202611_看護部_00200_.._.._佐藤_花子";
     },
     kExitFinished,
     {kFinished},
     kAll},
    {"NameWithSlashWithoutWorkCsv",
     [](Inputs& in) {
       in.workCsv = false;
       in.requests[2][kName] = in.requests[3][kName] = "../../佐藤/花子";
       in.stems["00200"] = "202611_看護部_00200_.._.._佐藤_花子";
     },
     kExitFinished,
     {kFinished},
     kAll},
    {"DotDotParts",
     [](Inputs& in) {
       in.requests[4][kDept] = in.requests[5][kDept] = "..";
       in.requests[4][kName] = in.requests[5][kName] = "..";
       in.stems["00300"] = "202611___00300__";
     },
     kExitFinished,
     {kFinished},
     kAll},
};

// With the month review on, a run that ran writes both tables, listing at least every
// staff member it finished; a run that was refused or ended writes neither.
TEST_P(BadInputTest, MonthReviewListsTheStaffFinished) {
  const BadInput& c = GetParam();
  Inputs in;
  if (c.spoil) c.spoil(in);
  in.extraArguments << "--review";
  WriteInputs(in);
  WriteOldOutputs(in);

  const testing::BatchResult result = Run(in);

  EXPECT_EQ(result.exit, c.exit) << result.err.toStdString();
  const QStringList summaries = QDir(Path("out")).entryList({"*_集計.csv"}, QDir::Files);
  const QStringList findings = QDir(Path("out")).entryList({"*_乖離一覧.csv"}, QDir::Files);
  if (c.exit != kExitFinished && c.exit != kExitRunFailed) {
    EXPECT_TRUE(summaries.isEmpty() && findings.isEmpty());
    return;
  }
  ASSERT_EQ(summaries.size(), 1);
  ASSERT_EQ(findings.size(), 1);
  const QString summary = DecodeCp932(start.ReadBytes("out/" + summaries[0]));
  EXPECT_TRUE(summary.startsWith("\"職員番号\",")) << summary.toStdString();
  for (const QString& no : c.finished) {
    EXPECT_TRUE(summary.contains("\r\n\"" + no + "\",")) << no.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadInputTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Where permissions do not stop reading or writing (root; Windows, where they are only a
// read-only flag), these two have nothing to check.
TEST_F(BadInputTest, UnreadableRequestFile) {
  Inputs in;
  WriteInputs(in);
  ASSERT_TRUE(QFile::setPermissions(Path("req.csv"), QFileDevice::WriteOwner));
  if (QFile(Path("req.csv")).open(QIODevice::ReadOnly)) {
    GTEST_SKIP() << "this user reads files whatever their permissions";
  }
  const testing::BatchResult result = Run(in);
  EXPECT_EQ(result.exit, kExitRunFailed);
  EXPECT_TRUE(result.err.contains(Path("req.csv") + ": cannot be opened"))
      << result.err.toStdString();
}

TEST_F(BadInputTest, UnwritableOutputFolder) {
  Inputs in;
  WriteInputs(in);
  ASSERT_TRUE(QDir().mkpath(Path("out")));
  ASSERT_TRUE(QFile::setPermissions(Path("out"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  if (QFile probe(Path("out/probe")); probe.open(QIODevice::WriteOnly)) {
    probe.remove();
    GTEST_SKIP() << "this user writes into folders whatever their permissions";
  }
  const testing::BatchResult result = Run(in);
  EXPECT_EQ(result.exit, kExitRunFailed);
  EXPECT_TRUE(result.err.contains("cannot be written")) << result.err.toStdString();
  EXPECT_TRUE(QDir(Path("out")).isEmpty());
}

// A chart that cannot be saved: the run goes on, says which file and why after the
// "(Error2)" message, and ends with exit status 4.
TEST_F(BadInputTest, ChartNameTakenByAFolder) {
  Inputs in;
  WriteInputs(in);
  const QString chart = "out/" + Stem(in, kMembers[1]) + ".jpg";
  ASSERT_TRUE(QDir().mkpath(Path(chart)));
  const testing::BatchResult result = Run(in);
  EXPECT_EQ(result.exit, kExitOutputsLost);
  const QStringList lines = result.err.split('\n');
  const qsizetype error2 = lines.indexOf(QRegularExpression(".*\\(Error2\\)$"));
  ASSERT_GE(error2, 0) << result.err.toStdString();
  EXPECT_EQ(lines.value(error2 + 1),
            "what failed: " + Path(chart) + ": cannot be written (Is a directory)");
  EXPECT_TRUE(result.err.endsWith(kFinished + "\n"));
  ExpectFinished(in, kMembers[0]);
  ExpectFinished(in, kMembers[2]);
}

// A full output folder: every chart that could not be saved is named with the system's
// reason, and every chart that stands there is whole.
TEST_F(BadInputTest, FullFileSystem) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  ASSERT_TRUE(QDir().mkpath(Path("out")));
  QProcess mount;
  mount.start("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", Path("out")});
  if (!mount.waitForFinished() || mount.exitCode() != 0) GTEST_SKIP() << "no tmpfs here";
  struct Unmount {
    QString path;
    ~Unmount() { QProcess::execute("umount", {path}); }
  } unmount{Path("out")};

  Inputs in;
  WriteInputs(in);
  const testing::BatchResult result = Run(in);
  EXPECT_EQ(result.exit, kExitOutputsLost) << result.err.toStdString();
  const qsizetype failures = result.err.count("(Error2)");
  EXPECT_GE(failures, 1);
  EXPECT_EQ(result.err.count("No space left on device)\n"), failures) << result.err.toStdString();
  for (const QString& name : QDir(Path("out")).entryList({"*.jpg"}, QDir::Files)) {
    EXPECT_EQ(QImage(Path("out/" + name)).size(), QSize(1024, 768)) << name.toStdString();
  }
  for (const QString& name : QDir(Path("out")).entryList(QDir::Files | QDir::Hidden)) {
    EXPECT_FALSE(IsTemporaryOutputName(name)) << name.toStdString();
  }
}

}  // namespace
}  // namespace morvik

// Killing a run while it writes charts leaves every output either as the earlier run left
// it or as this run makes it, complete; a temporary file can only stay when the kill hits
// between naming it and renaming it, and the next run removes it.
namespace morvik {
namespace {

constexpr int kKillStaff = 60;

struct KillMonth {
  QString requests, stamps, staff;
};

KillMonth ManagersMonth(const QString& overtimeEnd) {
  QList<QStringList> requests, stamps;
  QStringList staff;
  for (int i = 0; i < kKillStaff; ++i) {
    const Member m{QString::number(10001 + i), QStringLiteral("職員%1").arg(i),
                   QStringLiteral("部%1").arg(i % 5)};
    requests << RequestRow(m, 2 * i, "時間外申請", 2, "17:15", overtimeEnd, "1.5");
    requests << RequestRow(m, 2 * i + 1, "日当直申請", 30, "17:15", "08:30", "");
    requests.last()[kEndDate] = "2026/12/01";
    stamps << StampLine(m, "2026/11/02", "08:20") << StampLine(m, "2026/11/02", "19:50");
    staff << m.no;
  }
  return {Joined(kRequestHeader, requests, "\r\n"), Joined(kStampHeader, stamps, "\r\n"),
          "見出し\r\n" + staff.join("\r\n") + "\r\n"};
}

// The program as this build made it (morvikgraph.exe on Windows).
QString ProgramPath() { return QString::fromUtf8(MORVIK_PROGRAM); }

class KillTest : public ::testing::Test {
 protected:
  void WriteMonth(const KillMonth& month) {
    start.WriteBytes("req.csv", EncodeCp932(month.requests));
    start.WriteBytes("stamp.csv", month.stamps.toUtf8());
    start.WriteBytes("list.txt", EncodeCp932(month.staff));
    start.WriteBytes("h.txt", EncodeCp932("2026/11/03,文化の日\r\n"));
  }

  QProcess* Start(const QString& out, bool forwardErrors = true) {
    auto* process = new QProcess();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("SOURCE_DATE_EPOCH", "1796000000");
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(start.path());
    process->setProcessChannelMode(forwardErrors ? QProcess::ForwardedErrorChannel
                                                 : QProcess::SeparateChannels);
    process->start(ProgramPath(), {"--batch", "--request", "req.csv", "--stamp", "stamp.csv",
                                   "--utf8", "--staff-list", "list.txt", "--csv", "--bmp",
                                   "--holidays", "h.txt", "--out", out});
    return process;
  }

  // Runs to the end; returns the outputs by name.
  std::map<QString, QByteArray> RunComplete(const QString& out, qint64* milliseconds = nullptr) {
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QProcess> process(Start(out));
    EXPECT_TRUE(process->waitForFinished(600000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);
    if (milliseconds) *milliseconds = timer.elapsed();
    return Outputs(out);
  }

  std::map<QString, QByteArray> Outputs(const QString& out) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(start.FilePath(out)).entryList(QDir::Files | QDir::Hidden)) {
      files[name] = start.ReadBytes(out + "/" + name);
    }
    return files;
  }

  void CopyOutputs(const std::map<QString, QByteArray>& files, const QString& out) {
    ASSERT_TRUE(QDir().mkpath(start.FilePath(out)));
    for (const auto& [name, bytes] : files) start.WriteBytes(out + "/" + name, bytes);
  }

  testing::TempFolder start;
};

TEST_F(KillTest, EveryOutputIsTheOldOrTheNewCompleteFile) {
  ASSERT_TRUE(QFileInfo(ProgramPath()).isExecutable()) << ProgramPath().toStdString();
  WriteMonth(ManagersMonth("18:45"));
  const auto old = RunComplete("old");
  ASSERT_EQ(old.size(), 3u * kKillStaff);
  WriteMonth(ManagersMonth("19:45"));
  qint64 runMilliseconds = 0;
  const auto fresh = RunComplete("new", &runMilliseconds);
  ASSERT_EQ(fresh.size(), old.size());
  for (const auto& [name, bytes] : fresh) {
    ASSERT_NE(bytes, old.at(name)) << name.toStdString();  // each file tells which run made it
    if (name.endsWith(".csv")) continue;
    const QImage image = QImage::fromData(bytes);
    ASSERT_EQ(image.size(), QSize(1024, 768)) << name.toStdString();
  }

  int mixed = 0;
  for (const double fraction : {0.15, 0.35, 0.55, 0.75, 0.9}) {
    const QString out = QStringLiteral("killed%1").arg(qRound(fraction * 100));
    CopyOutputs(old, out);
    std::unique_ptr<QProcess> process(Start(out));
    ASSERT_TRUE(process->waitForStarted());
    QThread::msleep(static_cast<unsigned long>(runMilliseconds * fraction));
    process->kill();  // SIGKILL
    ASSERT_TRUE(process->waitForFinished());
    int news = 0;
    size_t present = 0;
    for (const auto& [name, bytes] : Outputs(out)) {
      if (IsTemporaryOutputName(name)) continue;  // checked after the next run below
      ++present;
      ASSERT_TRUE(old.contains(name)) << "unexpected file " << name.toStdString();
      const bool isOld = bytes == old.at(name);
      EXPECT_TRUE(isOld || bytes == fresh.at(name))
          << out.toStdString() << "/" << name.toStdString();
      news += isOld ? 0 : 1;
    }
    EXPECT_EQ(present, old.size()) << out.toStdString();  // none went missing
    if (news > 0 && news < static_cast<int>(old.size())) ++mixed;
    // The next run in the folder completes every file and leaves no temporary file.
    EXPECT_EQ(RunComplete(out), fresh) << out.toStdString();
  }
  EXPECT_GT(mixed, 0) << "no kill landed in the middle of the run (" << runMilliseconds << " ms)";
}

// The program ends a batch run without taking its memory apart: its exit status and every
// line it printed still come out, for a run that saved all and one that could not.
TEST_F(KillTest, ProgramEndsWithTheRunsStatusAndEveryLine) {
  WriteMonth(ManagersMonth("18:45"));
  const auto outputs = RunComplete("all");
  const auto chart = std::find_if(outputs.begin(), outputs.end(),
                                  [](const auto& file) { return file.first.endsWith(".jpg"); });
  ASSERT_NE(chart, outputs.end());
  ASSERT_TRUE(QDir().mkpath(start.FilePath("taken/" + chart->first)));
  for (const auto& [out, exitCode] : {std::pair{"fresh", 0}, std::pair{"taken", 4}}) {
    std::unique_ptr<QProcess> process(Start(out, false));
    ASSERT_TRUE(process->waitForFinished(600000));
    const QString printed = QString::fromUtf8(process->readAllStandardError());
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), exitCode) << out;
    EXPECT_TRUE(printed.endsWith(QStringLiteral("処理を終了しました．\n"))) << printed.toStdString();
    EXPECT_EQ(printed.contains(QStringLiteral("what failed: ")), exitCode != 0) << out;
  }
}

}  // namespace
}  // namespace morvik
