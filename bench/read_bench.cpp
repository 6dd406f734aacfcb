// Load timings of the largest inputs the tables take: a 50,000-line stamp CSV (UTF-8 and
// Shift-JIS), a 5,000-row request CSV with a 5,000-entry staff list, the staff selection,
// the sort and the check dumps. Run by hand: morvik_read_bench [rounds]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

#include "core/form_state.h"
#include "core/working_tables.h"
#include "input/check_dumps.h"
#include "input/request_csv.h"
#include "input/staff_list.h"
#include "input/staff_selection.h"
#include "input/stamp_csv.h"
#include "testing/recording_frontend.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

constexpr int kStaff = 5000;

QString StaffNo(int i) { return QStringLiteral("%1").arg(i, 6, 10, QChar(u'0')); }

QString StampCsv() {
  QStringList lines{QStringLiteral("社員番号,氏名,所属,4,5,6,7,8,日付,時刻,11,12,13,14,15")};
  for (int i = 0; i < 50000; ++i) {
    lines << QStringLiteral("%1,職員 %2,内科,4,5,6,7,8,2022/4/%3,8:%4,11,12,13,14,15")
                 .arg(StaffNo(i / 10))
                 .arg(i / 10)
                 .arg(i % 30 + 1)
                 .arg(i % 50 + 10);
  }
  return testing::CrLfLines(lines);
}

// 5,000 records of every other listed staff member, in shuffled order.
QString RequestCsv(std::mt19937& random) {
  QStringList lines{QStringLiteral(
      "申請者社員番号,承認状態,申請番号,申請種別,申請日,申請所属,申請者名,開始日,開始時間,終了日,"
      "終了時間,内容,承認者（承認状態）,時間外申請時間,時間外休憩時間,時間外振替日,"
      "時間外振替時間")};
  for (int i = 0; i < 5000; ++i) {
    const int staff = 2 * static_cast<int>(random() % (kStaff / 2));
    lines << QStringLiteral(
                 "%1,承認,%2,時間外申請,2022/4/1,内科,職員,2022/4/%3,17:15,2022/4/%3,"
                 "19:00,会議,上長（承認）,2,0,,")
                 .arg(StaffNo(staff))
                 .arg(i)
                 .arg(i % 30 + 1);
  }
  return testing::CrLfLines(lines);
}

QString StaffListFile() {
  QStringList lines{QStringLiteral("グラフを作成したい職員番号を2行目以降に追加してください｡")};
  for (int i = 0; i < kStaff; ++i) lines << StaffNo(i);
  return testing::CrLfLines(lines);
}

double Milliseconds(const std::function<void()>& step) {
  QElapsedTimer timer;
  timer.start();
  step();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Report(const char* what, double ms) { std::printf("%-44s %8.1f ms\n", what, ms); }

}  // namespace
}  // namespace morvik

int main(int argc, char** argv) {
  using namespace morvik;
  QCoreApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  testing::TempFolder folder;
  std::mt19937 random(1);
  const QString stampText = StampCsv();
  const QString stampUtf8 = folder.WriteUtf8(QStringLiteral("stamps_utf8.csv"), stampText);
  const QString stampSjis = folder.WriteCp932(QStringLiteral("stamps_sjis.csv"), stampText);
  const QString requests = folder.WriteCp932(QStringLiteral("requests.csv"), RequestCsv(random));
  const QString staffList = folder.WriteCp932(QStringLiteral("staff.txt"), StaffListFile());

  for (int round = 1; round <= rounds; ++round) {
    std::printf("round %d\n", round);
    auto tables = std::make_unique<WorkingTables>();
    WorkingTables& t = *tables;
    testing::RecordingFrontend frontend;
    FormState form;
    t.useStaffList = 1;
    form.staffListFile = staffList;
    form.monthText = QStringLiteral("2022/04");
    OnUtf8StampsClicked(form, t);

    double total = 0;
    auto step = [&](const char* what, const std::function<void()>& run) {
      const double ms = Milliseconds(run);
      total += ms;
      Report(what, ms);
    };
    t.stampCsvPath = stampSjis;
    Report("stamp CSV, Shift-JIS, 50,000 lines",
           Milliseconds([&] { ReadStampCsvSjis(t, frontend); }));
    t.stampCsvPath = stampUtf8;
    step("staff list, 5,000 entries", [&] { LoadStaffList(t, form, frontend); });
    step("stamp CSV, UTF-8, 50,000 lines", [&] { ReadStampCsvUtf8(t, form, frontend); });
    t.requestCsvPath = requests;
    step("request CSV, 5,000 rows", [&] { ReadRequestCsv(t, frontend); });
    step("AddStaffRequests (2,500 without rows)", [&] { AddStaffRequests(t, form, frontend); });
    step("SortRequestsByStaff (5,000 shuffled rows)", [&] { SortRequestsByStaff(t, frontend); });
    Report("load total (UTF-8 run, sort included)", total);

    for (int r = 1; r <= 5000; ++r) t.requestTable[r][1] = StaffNo(5000 - r);
    Report("SortRequestsByStaff (5,000 rows reversed)",
           Milliseconds([&] { SortRequestsByStaff(t, frontend); }));
    Report("three check dumps", Milliseconds([&] {
             InFileData_chk(t, folder.path());
             InFileData1_chk(t, folder.path());
             InFileData2_chk(t, folder.path());
           }));
    std::printf("  (%d stamp rows, %d request rows, %lld messages)\n", t.stampRowCount,
                t.requestRowCount, static_cast<long long>(frontend.messages.size()));
  }
  return 0;
}
