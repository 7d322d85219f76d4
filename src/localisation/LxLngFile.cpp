#include "localisation/LxLngFile.h"

#include "core/FormatSettings.h"
#include "localisation/LangCodePage.h"
#include "localisation/LangFileLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <optional>

namespace localisation {

namespace {

// Bounds-checked reading of the file image. Every read past the end is a damaged file.
class Reader {
 public:
  explicit Reader(QByteArrayView data) : data_(data) {}

  qsizetype Remaining() const { return data_.size() - pos_; }
  QByteArrayView Bytes(qsizetype n) {
    if (n < 0 || n > Remaining()) throw ELangFileError(kDamaged);
    const QByteArrayView view = data_.sliced(pos_, n);
    pos_ += n;
    return view;
  }
  void Skip(qsizetype n) { Bytes(n); }
  quint8 U8() { return quint8(Bytes(1)[0]); }
  char Char() { return Bytes(1)[0]; }
  quint16 U16() {
    const QByteArrayView b = Bytes(2);
    return quint16(quint8(b[0]) | (quint8(b[1]) << 8));
  }
  qint32 I32() {
    const QByteArrayView b = Bytes(4);
    return qint32(quint32(quint8(b[0])) | (quint32(quint8(b[1])) << 8) |
                  (quint32(quint8(b[2])) << 16) | (quint32(quint8(b[3])) << 24));
  }
  // A length byte and that many bytes.
  QByteArrayView ShortString() { return Bytes(U8()); }
  QByteArrayView Rest() { return Bytes(Remaining()); }

 private:
  QByteArrayView data_;
  qsizetype pos_ = 0;
};

// A locale setting: a string longer than its room is read whole and cut.
QByteArray ReadLimited(Reader& r, int max) {
  const QByteArrayView s = r.ShortString();
  return s.first(std::min<qsizetype>(s.size(), max)).toByteArray();
}

template <size_t N>
void ReadLimited(Reader& r, std::array<QByteArray, N>& out, int max) {
  for (auto& s : out) s = ReadLimited(r, max);
}

QByteArray CutAtZero(QByteArrayView s) {
  const qsizetype zero = s.indexOf('\0');
  return (zero < 0 ? s : s.first(zero)).toByteArray();
}

// Four ASCII characters forming a decimal number, "." as the separator whatever the user's own
// separator is.
std::optional<double> ParseVersion(QByteArrayView text) {
  const QByteArray trimmed = text.toByteArray().trimmed();
  bool digit = false, dot = false;
  for (qsizetype i = 0; i < trimmed.size(); ++i) {
    const char c = trimmed[i];
    if (c >= '0' && c <= '9')
      digit = true;
    else if (c == '.' && !dot)
      dot = true;
    else if (!((c == '+' || c == '-') && i == 0))
      return std::nullopt;
  }
  if (!digit) return std::nullopt;
  bool ok = false;
  const double v = QLocale::c().toDouble(QString::fromLatin1(trimmed), &ok);
  if (!ok) return std::nullopt;
  return v;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TLxLangProps

TLxLangProps::TLxLangProps() : collator_(QLocale()) {
  collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

void TLxLangProps::Clear() {
  forms_.clear();
  curForm_ = curEntry_ = -1;
}

namespace {

// Halving search over a list kept sorted by one name of each item: the match, or where the
// name would be inserted.
template <typename Item, typename Name>
qsizetype HalvingSearch(const QCollator& collator, const std::vector<Item>& items, QStringView key,
                        Name name, bool& found) {
  qsizetype low = 0, high = qsizetype(items.size()) - 1;
  found = false;
  while (low <= high) {
    const qsizetype mid = (low + high) / 2;
    const int c = collator.compare(name(items[size_t(mid)]), key);
    if (c < 0) {
      low = mid + 1;
    } else if (c > 0) {
      high = mid - 1;
    } else {
      found = true;
      return mid;
    }
  }
  return low;
}

}  // namespace

qsizetype TLxLangProps::FindForm(QStringView name, bool& found) const {
  return HalvingSearch(collator_, forms_, name, [](const auto& f) -> const QString& { return f.Name; },
                       found);
}

qsizetype TLxLangProps::FindPath(const QCollator& collator, const std::vector<Entry>& entries,
                                 QStringView path, bool& found) {
  return HalvingSearch(collator, entries, path,
                       [](const Entry& e) -> const QString& { return e.Path; }, found);
}

void TLxLangProps::Add(const QString& formName, const QString& path, quint16 ident) {
  bool found = false;
  // Files list forms and paths in sorted order, so the usual place is the end.
  qsizetype f;
  if (!forms_.empty() && collator_.compare(forms_.back().Name, formName) < 0) {
    f = qsizetype(forms_.size());
  } else {
    f = FindForm(formName, found);
  }
  if (!found) forms_.insert(forms_.begin() + f, Form{formName, {}});
  auto& entries = forms_[size_t(f)].Entries;
  qsizetype e;
  found = false;
  if (!entries.empty() && collator_.compare(entries.back().Path, path) < 0) {
    e = qsizetype(entries.size());
  } else {
    e = FindPath(collator_, entries, path, found);
  }
  if (found)
    entries[size_t(e)].Ident = ident;
  else
    entries.insert(entries.begin() + e, Entry{path, ident});
  curForm_ = f;
  curEntry_ = e;
}

bool TLxLangProps::Find(QStringView formName, QStringView path) {
  if (curForm_ < 0 || forms_[size_t(curForm_)].Name != formName) {
    bool found = false;
    const qsizetype f = FindForm(formName, found);
    if (!found) {
      curForm_ = curEntry_ = -1;
      return false;
    }
    curForm_ = f;
  }
  bool found = false;
  const qsizetype e = FindPath(collator_, forms_[size_t(curForm_)].Entries, path, found);
  curEntry_ = found ? e : -1;
  return found;
}

bool TLxLangProps::FindIdent(quint16 ident) {
  if (curForm_ >= 0 && curEntry_ >= 0 &&
      forms_[size_t(curForm_)].Entries[size_t(curEntry_)].Ident == ident)
    return true;
  for (size_t f = 0; f < forms_.size(); ++f) {
    const auto& entries = forms_[f].Entries;
    for (size_t e = 0; e < entries.size(); ++e) {
      if (entries[e].Ident == ident) {
        curForm_ = qsizetype(f);
        curEntry_ = qsizetype(e);
        return true;
      }
    }
  }
  curForm_ = curEntry_ = -1;
  return false;
}

quint16 TLxLangProps::CurIdent() const {
  if (curForm_ < 0 || curEntry_ < 0) throw ELangFileError(kNoSuchProperty);
  return forms_[size_t(curForm_)].Entries[size_t(curEntry_)].Ident;
}

QString TLxLangProps::CurFormName() const {
  return curForm_ < 0 ? QString() : forms_[size_t(curForm_)].Name;
}

QString TLxLangProps::CurPropName() const {
  if (curForm_ < 0 || curEntry_ < 0) return {};
  return forms_[size_t(curForm_)].Entries[size_t(curEntry_)].Path;
}

void TLxLangProps::RenameCurProp(const QString& path) {
  if (curForm_ < 0 || curEntry_ < 0) return;
  if (path.isEmpty()) {
    DeleteCurProp();
    return;
  }
  auto& entries = forms_[size_t(curForm_)].Entries;
  const quint16 ident = entries[size_t(curEntry_)].Ident;
  entries.erase(entries.begin() + curEntry_);
  // A path is held once: renaming onto an existing path files the ident there, as Add does.
  bool found = false;
  const qsizetype e = FindPath(collator_, entries, path, found);
  if (found)
    entries[size_t(e)].Ident = ident;
  else
    entries.insert(entries.begin() + e, Entry{path, ident});
  curEntry_ = -1;
}

void TLxLangProps::DeleteCurProp() {
  if (curForm_ < 0 || curEntry_ < 0) return;
  auto& entries = forms_[size_t(curForm_)].Entries;
  entries.erase(entries.begin() + curEntry_);
  curForm_ = curEntry_ = -1;
}

qsizetype TLxLangProps::EntryCount() const {
  qsizetype n = 0;
  for (const auto& f : forms_) n += qsizetype(f.Entries.size());
  return n;
}

// ---------------------------------------------------------------------------------------------
// TLxLangStr

const TLxIdentRec& TLxLangStr::Rec() const { return file_.records_.at(size_t(index_)); }

QString TLxLangStr::UnicodeText() const { return file_.Decode(Text()); }

QString TLxLangStr::FormName() const {
  return file_.props_.FindIdent(Ident()) ? file_.props_.CurFormName() : QString();
}

QString TLxLangStr::PropName() const {
  return file_.props_.FindIdent(Ident()) ? file_.props_.CurPropName() : QString();
}

void TLxLangStr::SetPropName(const QString& path) {
  if (file_.props_.FindIdent(Ident())) file_.props_.RenameCurProp(path);
}

// ---------------------------------------------------------------------------------------------
// TLxLangFile

QString TLxLangFile::NormaliseName(const QString& name) {
  QString result = name;
  if (!result.toLower().contains(QStringLiteral(".lng"))) result += QStringLiteral(".lng");
  if (!result.contains(u'/') && !result.contains(u'\\') && !result.contains(u':')) {
    const QString current = QDir::currentPath();
    result = current + (current.endsWith(u'/') ? QString() : QStringLiteral("/")) + result;
  }
  return result;
}

TLxLangFile::TLxLangFile(const QString& name, NoLoad) : fileName_(NormaliseName(name)) {}

TLxLangFile::TLxLangFile(const QString& name) : TLxLangFile(name, NoLoad{}) { Load(); }

TLxLangFile::~TLxLangFile() = default;

bool TLxLangFile::OpenStream(const QString& name) {
  stream_ = LangFileLock::Open(name, LangFileLock::Mode::Shared);
  return stream_ != nullptr;
}

void TLxLangFile::CloseStream() { stream_.reset(); }

bool TLxLangFile::IsStreamOpen() const { return stream_ != nullptr; }

void TLxLangFile::SetFileFlags(quint8 mask, bool on) {
  fileFlags_ = on ? quint8(fileFlags_ | mask) : quint8(fileFlags_ & ~mask);
}

QString TLxLangFile::Decode(QByteArrayView bytes) const {
  return LangCodec::ForCharset(charset_).Decode(bytes);
}

void TLxLangFile::Load() {
  if (!stream_ && !OpenStream(fileName_)) return;
  QByteArray data;
  if (!stream_->ReadAll(data)) {
    // Unreadable is as good as missing.
    CloseStream();
    return;
  }
  if (data.isEmpty()) return;

  isNew_ = false;
  version_ = 0;
  fileFlags_ = 0;
  hasLocale_ = false;
  locale_ = TLxLocale();
  bidiMode_ = 0;
  charset_ = 0;
  fonts_.clear();
  auxList_.clear();
  props_.Clear();
  records_.clear();
  cursor_.index_ = -1;

  Reader r(data);
  if (data.size() < 2 || data[0] != 'L' || data[1] != 'F') throw ELangFileError(kNotALanguageFile);
  r.Skip(2);
  const QByteArrayView versionText = r.Bytes(4);
  const auto version = ParseVersion(versionText);
  if (!version) {
    throw ELangFileError(QStringLiteral("'%1' is not a valid floating point value")
                             .arg(QString::fromLatin1(versionText.data(), versionText.size())));
  }
  version_ = *version;

  if (version_ > 3.0) {
    fileFlags_ = r.U8();
  } else if (QFileInfo(fileName_).fileName().compare(QStringLiteral("native.lng"),
                                                     Qt::CaseInsensitive) == 0) {
    // Older files had no flags; the native one was known by its name.
    fileFlags_ = kNativeFlag;
  }
  hasLocale_ = version_ > 2.0 ? r.U8() != 0 : true;
  if (hasLocale_) {
    TLxLocale& l = locale_;
    l.CurrencyString = ReadLimited(r, TLxLocale::kCurrencyMax);
    l.CurrencyFormat = r.U8();
    l.NegCurrFormat = r.U8();
    l.ThousandSeparator = r.Char();
    l.DecimalSeparator = r.Char();
    l.CurrencyDecimals = r.U8();
    l.DateSeparator = r.Char();
    l.ShortDateFormat = ReadLimited(r, TLxLocale::kShortDateMax);
    l.LongDateFormat = ReadLimited(r, TLxLocale::kLongDateMax);
    l.TimeSeparator = r.Char();
    l.TimeAMString = ReadLimited(r, TLxLocale::kDesignatorMax);
    l.TimePMString = ReadLimited(r, TLxLocale::kDesignatorMax);
    l.ShortTimeFormat = ReadLimited(r, TLxLocale::kTimeFormatMax);
    l.LongTimeFormat = ReadLimited(r, TLxLocale::kTimeFormatMax);
    ReadLimited(r, l.ShortMonthNames, TLxLocale::kShortNameMax);
    ReadLimited(r, l.LongMonthNames, TLxLocale::kLongNameMax);
    ReadLimited(r, l.ShortDayNames, TLxLocale::kShortNameMax);
    ReadLimited(r, l.LongDayNames, TLxLocale::kLongNameMax);
    ReadLimited(r, l.EraNames, TLxLocale::kEraMax);
    for (auto& offset : l.EraYearOffsets) offset = r.I32();
    l.TwoDigitYearCenturyWindow = r.U16();
    l.ListSeparator = r.Char();
  }
  bidiMode_ = r.U8();
  // Files up to 2.0 carried a reading direction that nothing honoured.
  if (version_ <= 2.0) bidiMode_ = 0;
  r.Skip(10);

  charset_ = r.U8();
  const qint32 fontCount = r.I32();
  if (fontCount < 0) throw ELangFileError(kDamaged);
  for (qint32 i = 0; i < fontCount; ++i) {
    TLxFontItem font;
    font.Name = r.ShortString().toByteArray();
    font.Size = r.U16();
    font.Style = r.U8();
    fonts_.push_back(std::move(font));
  }
  r.Skip(20);

  for (quint16 n = r.U16(); n > 0; --n) auxList_.append(r.ShortString().toByteArray());

  const LangCodec& codec = LangCodec::ForCharset(charset_);
  for (quint16 forms = r.U16(); forms > 0; --forms) {
    const QString form = codec.Decode(CutAtZero(r.ShortString()));
    for (quint16 entries = r.U16(); entries > 0; --entries) {
      const QString path = codec.Decode(CutAtZero(r.ShortString()));
      props_.Add(form, path, r.U16());
    }
  }

  const quint16 count = r.U16();
  // Each record takes at least five bytes; a count beyond that is a damaged file, found
  // before anything is reserved for it.
  if (qsizetype(count) * 5 > r.Remaining()) throw ELangFileError(kDamaged);
  records_.reserve(count);
  for (quint16 i = 0; i < count; ++i) {
    TLxIdentRec rec;
    rec.Flags = version_ > 3.0 ? r.U8() : 0;
    rec.Ident = r.U16();
    if (OffsetWidth() == 4) {
      rec.Offset = r.I32();
    } else {
      const quint16 narrow = r.U16();
      rec.Offset = narrow == 0xFFFF ? -1 : qint32(narrow);
    }
    rec.FontIndex = r.U16();
    records_.push_back(std::move(rec));
  }

  const QByteArrayView pool = r.Rest();
  for (TLxIdentRec& rec : records_) {
    if (rec.Offset == -1) continue;
    if (rec.Offset < 0 || rec.Offset >= pool.size()) throw ELangFileError(kDamaged);
    // A text runs to the next zero byte; one cut short by the end of the file ends there.
    const QByteArrayView tail = pool.sliced(rec.Offset);
    const qsizetype zero = tail.indexOf('\0');
    rec.Text = (zero < 0 ? tail : tail.first(zero)).toByteArray();
  }

  // The lookups halve the table; a table out of order from some other tool is put in order.
  const auto byIdent = [](const TLxIdentRec& a, const TLxIdentRec& b) { return a.Ident < b.Ident; };
  if (!std::is_sorted(records_.begin(), records_.end(), byIdent))
    std::stable_sort(records_.begin(), records_.end(), byIdent);

  if (version_ < 3.0) FixOldTextPaths();
}

// Before 3.0 the translator filed a memo's lines under ".Lines.Text"; they belong to ".Lines".
void TLxLangFile::FixOldTextPaths() {
  for (const TLxIdentRec& rec : records_) {
    if (!rec.Text.contains('\r') || !props_.FindIdent(rec.Ident)) continue;
    const QString path = props_.CurPropName();
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0) continue;
    if (QStringView(path).sliced(dot + 1).compare(u"Text", Qt::CaseInsensitive) == 0)
      props_.RenameCurProp(path.left(dot));
  }
}

void TLxLangFile::ApplyLocale() const {
  const LangCodec& codec = LangCodec::ForCharset(charset_);
  const auto text = [&](const QByteArray& s) { return codec.Decode(s); };
  const auto chr = [&](char c) {
    const QString s = codec.Decode(QByteArrayView(&c, 1));
    return s.isEmpty() ? QChar() : s[0];
  };
  core::FormatSettings s = core::FormatSettings::Current();
  const TLxLocale& l = locale_;
  s.currencyString = text(l.CurrencyString);
  s.currencyFormat = l.CurrencyFormat;
  s.negCurrFormat = l.NegCurrFormat;
  s.thousandSeparator = chr(l.ThousandSeparator);
  s.decimalSeparator = chr(l.DecimalSeparator);
  s.currencyDecimals = l.CurrencyDecimals;
  s.dateSeparator = chr(l.DateSeparator);
  s.shortDateFormat = text(l.ShortDateFormat);
  s.longDateFormat = text(l.LongDateFormat);
  s.timeSeparator = chr(l.TimeSeparator);
  s.timeAMString = text(l.TimeAMString);
  s.timePMString = text(l.TimePMString);
  s.shortTimeFormat = text(l.ShortTimeFormat);
  s.longTimeFormat = text(l.LongTimeFormat);
  for (size_t i = 0; i < 12; ++i) {
    s.shortMonthNames[i] = text(l.ShortMonthNames[i]);
    s.longMonthNames[i] = text(l.LongMonthNames[i]);
  }
  for (size_t i = 0; i < 7; ++i) {
    s.shortDayNames[i] = text(l.ShortDayNames[i]);
    s.longDayNames[i] = text(l.LongDayNames[i]);
    s.eraNames[i] = text(l.EraNames[i]);
    s.eraYearOffsets[i] = l.EraYearOffsets[i];
  }
  s.twoDigitYearCenturyWindow = l.TwoDigitYearCenturyWindow;
  s.listSeparator = chr(l.ListSeparator);
  core::FormatSettings::SetCurrent(s);
}

TLxLangStr* TLxLangFile::Strings(qsizetype index) {
  if (index < 0 || index >= Count()) return nullptr;
  cursor_.index_ = index;
  return &cursor_;
}

TLxLangStr* TLxLangFile::FindByIdent(quint16 ident) {
  const qsizetype current = cursor_.index_;
  if (current >= 0 && current < Count() && records_[size_t(current)].Ident == ident)
    return &cursor_;
  qsizetype low = 0, high = Count() - 1;
  while (low <= high) {
    const qsizetype mid = (low + high) / 2;
    const quint16 at = records_[size_t(mid)].Ident;
    if (at < ident)
      low = mid + 1;
    else if (at > ident)
      high = mid - 1;
    else {
      cursor_.index_ = mid;
      return &cursor_;
    }
  }
  return nullptr;
}

TLxLangStr* TLxLangFile::FindByProp(QStringView formName, QStringView path) {
  if (!props_.Find(formName, path)) return nullptr;
  return FindByIdent(props_.CurIdent());
}

}  // namespace localisation
