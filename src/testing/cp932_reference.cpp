#include "testing/cp932_reference.h"

#include <QFile>

#include <stdexcept>

namespace morvik::testing {
namespace {

// The file's layout; make_cp932_reference.py describes it.
constexpr char16_t kNone = 0xFFFF;
constexpr int kSingles = 256;
constexpr int kLeads = 60;  // 0x81-0x9F, 0xE0-0xFC
constexpr int kFirstTrail = 0x40;
constexpr int kTrails = 0xFC - kFirstTrail + 1;

int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F; }
unsigned char LeadAt(int index) {
  return static_cast<unsigned char>(index < 0x1F ? 0x81 + index : 0xE0 + index - 0x1F);
}

QByteArray Bytes(unsigned value, int count) {
  QByteArray bytes;
  if (count == 2) bytes.append(static_cast<char>(value >> 8));
  bytes.append(static_cast<char>(value & 0xFF));
  return bytes;
}

class WordReader {
 public:
  explicit WordReader(const QByteArray& file) : file_(file) {}
  char16_t Next() {
    if (pos_ + 2 > file_.size()) throw std::runtime_error("cp932 reference table cut short");
    const auto high = static_cast<unsigned char>(file_[pos_]);
    const auto low = static_cast<unsigned char>(file_[pos_ + 1]);
    pos_ += 2;
    return static_cast<char16_t>(high << 8 | low);
  }
  bool AtEnd() const { return pos_ == file_.size(); }

 private:
  const QByteArray& file_;
  qsizetype pos_ = 0;
};

QByteArray ReadTableFile() {
  QFile file(QStringLiteral(MORVIK_CP932_REFERENCE));
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error("cannot read " MORVIK_CP932_REFERENCE);
  }
  return file.readAll();
}

}  // namespace

const Cp932Reference& Cp932Reference::Get() {
  static const Cp932Reference reference(ReadTableFile());
  return reference;
}

bool Cp932Reference::IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

Cp932Reference::Cp932Reference(const QByteArray& file) {
  WordReader words(file);
  std::unordered_map<char32_t, int> sourceCount;
  auto add = [&](char16_t codePoint, QByteArray bytes) {
    if (codePoint == kNone) return;
    ++sourceCount[codePoint];
    written_[codePoint] = bytes;  // kept only where it is the one source
    if (bytes.size() == 2 && static_cast<unsigned char>(bytes[0]) >= 0xFA) {
      ibmExtensionForm_[codePoint] = bytes;
    }
    characters_.push_back({std::move(bytes), codePoint});
  };
  for (int b = 0; b < kSingles; ++b) {
    singles_.push_back(words.Next());
    add(singles_.back(), Bytes(b, 1));
  }
  for (int lead = 0; lead < kLeads; ++lead) {
    for (int trail = 0; trail < kTrails; ++trail) {
      pairs_.push_back(words.Next());
      add(pairs_.back(), Bytes(LeadAt(lead) << 8 | (kFirstTrail + trail), 2));
    }
  }
  for (const auto& [codePoint, count] : sourceCount) {
    if (count > 1) written_.erase(codePoint);
  }
  for (int choices = words.Next(); choices > 0; --choices) {
    const char16_t codePoint = words.Next();
    const char16_t bytes = words.Next();
    written_[codePoint] = Bytes(bytes, bytes > 0xFF ? 2 : 1);
  }
  if (!words.AtEnd()) throw std::runtime_error("cp932 reference table too long");
}

std::optional<char16_t> Cp932Reference::Decoded(const QByteArray& bytes) const {
  char16_t codePoint = kNone;
  if (bytes.size() == 1) {
    codePoint = singles_.at(static_cast<unsigned char>(bytes[0]));
  } else if (bytes.size() == 2) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const int trail = static_cast<unsigned char>(bytes[1]) - kFirstTrail;
    if (IsLeadByte(lead) && trail >= 0 && trail < kTrails) {
      codePoint = pairs_.at(LeadIndex(lead) * kTrails + trail);
    }
  }
  if (codePoint == kNone) return std::nullopt;
  return codePoint;
}

std::optional<QByteArray> Cp932Reference::Written(char32_t codePoint) const {
  const auto found = written_.find(codePoint);
  if (found == written_.end()) return std::nullopt;
  return found->second;
}

// The deliberate differences from the table:
// - NEC's selection of the IBM extensions (lead bytes ED and EE) is written in the IBM
//   extensions' own form (lead bytes FA-FC), as Windows' own conversion and glibc write it;
// - EM DASH and BROKEN BAR, which names from UTF-8 exports carry, are written as the
//   characters they stand for in CP932: HORIZONTAL BAR 81 5C and FULLWIDTH BROKEN BAR FA 55.
QByteArray Cp932Reference::ProgramWrites(char32_t codePoint) const {
  if (codePoint == U'\u2014') return QByteArray("\x81\x5C");
  if (codePoint == U'\u00A6') return QByteArray("\xFA\x55");
  const std::optional<QByteArray> written = Written(codePoint);
  if (!written) return QByteArray("?");
  const auto lead = static_cast<unsigned char>(written->at(0));
  if (lead == 0xED || lead == 0xEE) {
    const auto ibm = ibmExtensionForm_.find(codePoint);
    if (ibm != ibmExtensionForm_.end()) return ibm->second;
  }
  return *written;
}

void AppendCodePoint(QString& text, char32_t codePoint) {
  if (QChar::requiresSurrogates(codePoint)) {
    text += QChar(QChar::highSurrogate(codePoint));
    text += QChar(QChar::lowSurrogate(codePoint));
  } else {
    text += QChar(static_cast<char16_t>(codePoint));
  }
}

}  // namespace morvik::testing
