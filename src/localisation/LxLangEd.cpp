#include "localisation/LxLangEd.h"

#include "localisation/LangCodePage.h"
#include "localisation/LangFileLock.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace localisation {

namespace {

// Files are made with the limits the reader's layout sets. What does not fit is refused
// rather than cut, so that a saved file never silently loses a text or a name.
[[noreturn]] void Refuse(const QString& what) {
  throw ELangFileError(QStringLiteral("Language file cannot hold %1").arg(what));
}

class Writer {
 public:
  QByteArray data;
  void U8(quint8 v) { data.append(char(v)); }
  void U16(quint16 v) {
    data.append(char(v & 0xFF));
    data.append(char(v >> 8));
  }
  void I32(qint32 v) {
    const quint32 u = quint32(v);
    for (int shift = 0; shift < 32; shift += 8) data.append(char((u >> shift) & 0xFF));
  }
  void Zeros(int n) { data.append(n, '\0'); }
  void ShortString(const QByteArray& s, const QString& what) {
    if (s.size() > 255) Refuse(QStringLiteral("%1: longer than 255 bytes").arg(what));
    U8(quint8(s.size()));
    data.append(s);
  }
  void Limited(const QByteArray& s, int max, const QString& what) {
    if (s.size() > max) Refuse(QStringLiteral("%1: longer than %2 bytes").arg(what).arg(max));
    ShortString(s, what);
  }
  template <size_t N>
  void LimitedList(const std::array<QByteArray, N>& list, int max, const QString& what) {
    for (size_t i = 0; i < N; ++i)
      Limited(list[i], max, QStringLiteral("%1 %2").arg(what).arg(i + 1));
  }
  void Count16(size_t n, const QString& what) {
    if (n > 0xFFFF) Refuse(QStringLiteral("more than 65535 %1").arg(what));
    U16(quint16(n));
  }
};

}  // namespace

TLxLangFileEdit::TLxLangFileEdit(const QString& name) : TLxLangFile(name) {}

TLxLangFileEdit::TLxLangFileEdit(const QString& name, NoLoad) : TLxLangFile(name, NoLoad{}) {}

std::unique_ptr<TLxLangFileEdit> TLxLangFileEdit::CreateBlank(const QString& name) {
  return std::unique_ptr<TLxLangFileEdit>(new TLxLangFileEdit(name, NoLoad{}));
}

void TLxLangFileEdit::SetFileName(const QString& name) {
  CloseStream();
  fileName_ = NormaliseName(name);
}

bool TLxLangFileEdit::AddString(const TLxIdentRec& rec) {
  const auto at =
      std::lower_bound(records_.begin(), records_.end(), rec.Ident,
                       [](const TLxIdentRec& r, quint16 ident) { return r.Ident < ident; });
  if (at != records_.end() && at->Ident == rec.Ident) return false;
  records_.insert(at, rec);
  return true;
}

void TLxLangFileEdit::ClearStrings() { records_.clear(); }

QByteArray TLxLangFileEdit::Render(std::vector<qint32>* offsetsOut) const {
  const LangCodec& codec = LangCodec::ForCharset(charset_);
  const auto encode = [&](const QString& text, const QString& what) {
    const auto bytes = codec.Encode(text);
    if (!bytes) {
      Refuse(QStringLiteral("%1: a character has no place in code page %2")
                 .arg(what)
                 .arg(codec.codePage()));
    }
    return *bytes;
  };

  Writer w;
  w.data.append("LF3.10");
  w.U8(fileFlags_);
  w.U8(hasLocale_ ? 1 : 0);
  if (hasLocale_) {
    const TLxLocale& l = locale_;
    w.Limited(l.CurrencyString, TLxLocale::kCurrencyMax, QStringLiteral("currencyString"));
    w.U8(l.CurrencyFormat);
    w.U8(l.NegCurrFormat);
    w.U8(quint8(l.ThousandSeparator));
    w.U8(quint8(l.DecimalSeparator));
    w.U8(l.CurrencyDecimals);
    w.U8(quint8(l.DateSeparator));
    w.Limited(l.ShortDateFormat, TLxLocale::kShortDateMax, QStringLiteral("shortDateFormat"));
    w.Limited(l.LongDateFormat, TLxLocale::kLongDateMax, QStringLiteral("longDateFormat"));
    w.U8(quint8(l.TimeSeparator));
    w.Limited(l.TimeAMString, TLxLocale::kDesignatorMax, QStringLiteral("timeAMString"));
    w.Limited(l.TimePMString, TLxLocale::kDesignatorMax, QStringLiteral("timePMString"));
    w.Limited(l.ShortTimeFormat, TLxLocale::kTimeFormatMax, QStringLiteral("shortTimeFormat"));
    w.Limited(l.LongTimeFormat, TLxLocale::kTimeFormatMax, QStringLiteral("longTimeFormat"));
    w.LimitedList(l.ShortMonthNames, TLxLocale::kShortNameMax, QStringLiteral("shortMonthNames"));
    w.LimitedList(l.LongMonthNames, TLxLocale::kLongNameMax, QStringLiteral("longMonthNames"));
    w.LimitedList(l.ShortDayNames, TLxLocale::kShortNameMax, QStringLiteral("shortDayNames"));
    w.LimitedList(l.LongDayNames, TLxLocale::kLongNameMax, QStringLiteral("longDayNames"));
    w.LimitedList(l.EraNames, TLxLocale::kEraMax, QStringLiteral("eraNames"));
    for (qint32 offset : l.EraYearOffsets) w.I32(offset);
    w.U16(l.TwoDigitYearCenturyWindow);
    w.U8(quint8(l.ListSeparator));
  }
  w.U8(bidiMode_);
  w.Zeros(10);

  w.U8(charset_);
  if (fonts_.size() > size_t(std::numeric_limits<qint32>::max()))
    Refuse(QStringLiteral("the fonts"));
  w.I32(qint32(fonts_.size()));
  for (size_t i = 0; i < fonts_.size(); ++i) {
    w.ShortString(fonts_[i].Name, QStringLiteral("the name of font %1").arg(i + 1));
    w.U16(fonts_[i].Size);
    w.U8(fonts_[i].Style);
  }
  w.Zeros(20);

  w.Count16(size_t(auxList_.size()), QStringLiteral("auxiliary strings"));
  for (qsizetype i = 0; i < auxList_.size(); ++i)
    w.ShortString(auxList_[i], QStringLiteral("auxiliary string %1").arg(i + 1));

  w.Count16(size_t(props_.FormCount()), QStringLiteral("forms"));
  for (qsizetype f = 0; f < props_.FormCount(); ++f) {
    const TLxLangProps::Form& form = props_.FormAt(f);
    const QString formWhat = QStringLiteral("the form name \"%1\"").arg(form.Name);
    const QByteArray name = encode(form.Name, formWhat);
    if (name.isEmpty() || name.contains('\0')) Refuse(formWhat);
    w.ShortString(name, formWhat);
    w.Count16(form.Entries.size(), QStringLiteral("properties in form %1").arg(form.Name));
    for (const TLxLangProps::Entry& entry : form.Entries) {
      const QString what = QStringLiteral("the property path \"%1.%2\"").arg(form.Name, entry.Path);
      const QByteArray path = encode(entry.Path, what);
      if (path.contains('\0')) Refuse(what);
      w.ShortString(path, what);
      w.U16(entry.Ident);
    }
  }

  w.Count16(records_.size(), QStringLiteral("strings"));
  const bool native = HasFileFlags(kNativeFlag);
  QByteArray pool;
  std::vector<qint32> offsets(records_.size(), -1);
  for (size_t i = 0; i < records_.size(); ++i) {
    const TLxIdentRec& rec = records_[i];
    // A translation stores only what it translates; the native file keeps every text.
    if ((rec.Flags & kNotGivenFlag) && !native) continue;
    if (rec.Text.contains('\0'))
      Refuse(QStringLiteral("the text of ident %1: it contains a zero byte").arg(rec.Ident));
    if (pool.size() + rec.Text.size() + 1 > std::numeric_limits<qint32>::max())
      Refuse(QStringLiteral("texts of more than 2 GB"));
    offsets[i] = qint32(pool.size());
    pool.append(rec.Text);
    pool.append('\0');
  }
  for (size_t i = 0; i < records_.size(); ++i) {
    w.U8(records_[i].Flags);
    w.U16(records_[i].Ident);
    w.I32(offsets[i]);
    w.U16(records_[i].FontIndex);
  }
  w.data.append(pool);
  if (offsetsOut) *offsetsOut = std::move(offsets);
  return w.data;
}

void TLxLangFileEdit::Save() {
  CloseStream();
  // Everything is checked before the disk is touched.
  std::vector<qint32> offsets;
  const QByteArray image = Render(&offsets);

  // The old file is locked exclusively while the new one is written and renamed over it; a
  // reader that holds it loaded makes that fail.
  std::unique_ptr<LangFileLock> guard;
  if (QFileInfo::exists(fileName_)) {
    guard = LangFileLock::Open(fileName_, LangFileLock::Mode::Exclusive);
    if (!guard) throw ELangFileError(kAlreadyOpened);
  }
  QSaveFile file(fileName_);
  if (!file.open(QIODevice::WriteOnly)) {
    throw ELangFileError(
        QStringLiteral("Cannot create language file %1: %2").arg(fileName_, file.errorString()));
  }
  if (file.write(image) != image.size() || !file.commit()) {
    throw ELangFileError(
        QStringLiteral("Cannot write language file %1: %2").arg(fileName_, file.errorString()));
  }
  for (size_t i = 0; i < records_.size(); ++i) records_[i].Offset = offsets[i];
  isNew_ = false;
}

}  // namespace localisation
