#include "app/batch_options.h"

#include <QDate>
#include <QRegularExpression>

namespace morvik {
namespace {

bool IsMonth(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d{4})/(\\d{2})$"));
  const QRegularExpressionMatch match = pattern.match(text);
  return match.hasMatch() && QDate(match.captured(1).toInt(), match.captured(2).toInt(), 1).isValid();
}

constexpr int kMaxToleranceMinutes = 240;

// Digits only, no sign or blanks, at most `max`.
bool IsWholeNumberUpTo(const QString& text, int max) {
  static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,3}$"));
  return pattern.match(text).hasMatch() && text.toInt() <= max;
}

}  // namespace

QString BatchUsage() {
  return QStringLiteral(
      "usage: morvikgraph [REQUEST_CSV] [STAMP_CSV]            open the main window\n"
      "       morvikgraph --batch [OPTIONS] [FILE ...]         one run, no window\n"
      "  --request FILE      request CSV (申請)\n"
      "  --stamp FILE        stamp CSV (打刻)\n"
      "  --utf8 | --sjis     encoding of the stamp CSV (default: --sjis)\n"
      "  --staff-list FILE   use this staff list (selects UTF-8 unless --sjis is given);\n"
      "                      \"\" uses the default list next to the program\n"
      "  --month YYYY/MM     fixed target month\n"
      "  --jpg | --no-jpg    chart as JPG (default on)\n"
      "  --bmp               chart as BMP\n"
      "  --csv               write the work CSV\n"
      "  --out DIR           folder for all outputs (default: the program's folder)\n"
      "  --holidays FILE     holiday file (default: the one next to the program)\n"
      "  --dump              also write the three check CSVs of the loaded tables\n"
      "  --jobs N            charts encoded at a time while the run goes on (default: the\n"
      "                      number of cores, at most 4; 1 saves each chart at once)\n"
      "  --review            also write yyyymm_乖離一覧.csv (stamps outside requested or\n"
      "                      regular time, covered days without stamps) and yyyymm_集計.csv\n"
      "                      (a summary line per staff member)\n"
      "  --tolerance MIN     minutes a stamp may lie outside covered time before the\n"
      "                      review reports it (0-240, default 30)\n"
      "  --html              also write the overview page yyyymm_一覧.html (every staff\n"
      "                      member with totals, findings and a link to the chart)\n"
      "  --pdf               also write yyyymm_勤務表.pdf (the summary, then a page a chart)\n"
      "  --verbose           print status texts too\n"
      "  --help, --version\n"
      "exit status: 0 finished, 1 the run failed (Error1), 2 usage error or an input\n"
      "check refused to run, 3 the program ended (holiday file, staff list file),\n"
      "4 finished, but a chart or another output could not be saved (Error2)\n");
}

BatchParse ParseBatchOptions(const QStringList& arguments) {
  BatchOptions options;
  auto fail = [](const QString& error) { return BatchParse{std::nullopt, error}; };
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    auto value = [&]() -> std::optional<QString> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    auto take = [&](std::optional<QString>& target) {
      target = value();
      return target.has_value();
    };
    bool ok = true;
    if (arg == u"--batch") {
    } else if (arg == u"--request") { ok = take(options.request);
    } else if (arg == u"--stamp") { ok = take(options.stamp);
    } else if (arg == u"--staff-list") { ok = take(options.staffList);
    } else if (arg == u"--utf8") { options.utf8 = true;
    } else if (arg == u"--sjis") { options.utf8 = false;
    } else if (arg == u"--month") { ok = take(options.month) && IsMonth(*options.month);
    } else if (arg == u"--jpg") { options.jpg = true;
    } else if (arg == u"--no-jpg") { options.jpg = false;
    } else if (arg == u"--bmp") { options.bmp = true;
    } else if (arg == u"--csv") { options.csv = true;
    } else if (arg == u"--out") { ok = take(options.outputFolder);
    } else if (arg == u"--holidays") { ok = take(options.holidays);
    } else if (arg == u"--jobs") {
      std::optional<QString> count;
      ok = take(count) && count->toInt() >= 1 && count->toInt() <= 64;
      if (ok) options.jobs = count->toInt();
    } else if (arg == u"--dump") { options.dump = true;
    } else if (arg == u"--review") { options.review = true;
    } else if (arg == u"--tolerance") {
      std::optional<QString> minutes;
      ok = take(minutes) && IsWholeNumberUpTo(*minutes, kMaxToleranceMinutes);
      if (ok) options.tolerance = minutes->toInt();
    } else if (arg == u"--html") { options.html = true;
    } else if (arg == u"--pdf") { options.pdf = true;
    } else if (arg == u"--verbose") { options.verbose = true;
    } else if (arg == u"--help" || arg == u"-h") { options.help = true;
    } else if (arg == u"--version") { options.version = true;
    } else if (arg.startsWith(u"--")) {
      return fail(QStringLiteral("unknown option %1").arg(arg));
    } else {
      options.files << arg;
    }
    if (!ok) return fail(QStringLiteral("%1 needs a valid value").arg(arg));
  }
  return BatchParse{options, QString()};
}

}  // namespace morvik
