#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <memory>
#include <optional>

namespace localisation {

// The Windows code page that belongs to a font character set number; unknown sets are ANSI.
int CodePageOfCharset(int charset);

// Converts between the single-byte (or, for the East Asian sets, double-byte) texts of a
// language file and Unicode. Single-byte pages go through a table, so that every byte
// decodes to something and encodes back to itself: bytes the page leaves undefined decode to
// the control character of the same number, as Windows does.
class LangCodec {
 public:
  static const LangCodec& ForCharset(int charset);
  static const LangCodec& ForCodePage(int codePage);

  int codePage() const { return codePage_; }
  QString Decode(QByteArrayView bytes) const;
  // Empty optional when a character has no place in the code page.
  std::optional<QByteArray> Encode(QStringView text) const;

  ~LangCodec();
  LangCodec(const LangCodec&) = delete;
  LangCodec& operator=(const LangCodec&) = delete;

 private:
  explicit LangCodec(int codePage);
  struct Tables;
  int codePage_;
  std::unique_ptr<Tables> tables_;  // null for the double-byte pages
};

}  // namespace localisation
