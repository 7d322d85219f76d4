#pragma once

#include "core/Error.h"

#include <QByteArray>
#include <QCollator>
#include <QList>
#include <QString>
#include <QStringView>
#include <array>
#include <memory>
#include <vector>

namespace localisation {

class LangFileLock;
class TLxLangFile;

// Every failure of reading or writing a language file. It is the program's one error type,
// so the window layer shows it like any other.
class ELangFileError : public core::Error {
 public:
  using core::Error::Error;
};

// The messages of the format, as the user sees them.
inline const QString kNotALanguageFile = QStringLiteral("Not a language file or old version (1.1)");
inline const QString kDamaged = QStringLiteral("Language file is damaged");
inline const QString kAlreadyOpened =
    QStringLiteral("Language file is already opened by other application");
inline const QString kNoSuchProperty = QStringLiteral("No such property");

struct TLxFontItem {
  QByteArray Name;   // in the file's code page
  quint16 Size = 0;  // points
  quint8 Style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
};

struct TLxIdentRec {
  quint8 Flags = 0;  // bit 0: the text is not given in this language
  quint16 Ident = 0;
  qint32 Offset = -1;     // position in the text pool; -1: no text stored
  QByteArray Text;        // in the file's code page
  quint16 FontIndex = 0;  // 1-based; 0: no font of its own
};

// The regional block, as bytes of the file's code page. The maximum lengths are the file's.
struct TLxLocale {
  static constexpr int kCurrencyMax = 10, kShortDateMax = 12, kLongDateMax = 30, kDesignatorMax = 6,
                       kTimeFormatMax = 20, kShortNameMax = 6, kLongNameMax = 20, kEraMax = 10;
  QByteArray CurrencyString;
  quint8 CurrencyFormat = 0;
  quint8 NegCurrFormat = 0;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  quint8 CurrencyDecimals = 2;
  char DateSeparator = '/';
  QByteArray ShortDateFormat;
  QByteArray LongDateFormat;
  char TimeSeparator = ':';
  QByteArray TimeAMString;
  QByteArray TimePMString;
  QByteArray ShortTimeFormat;
  QByteArray LongTimeFormat;
  std::array<QByteArray, 12> ShortMonthNames;
  std::array<QByteArray, 12> LongMonthNames;
  std::array<QByteArray, 7> ShortDayNames;  // Sunday first
  std::array<QByteArray, 7> LongDayNames;
  std::array<QByteArray, 7> EraNames;
  std::array<qint32, 7> EraYearOffsets{};
  quint16 TwoDigitYearCenturyWindow = 0;
  char ListSeparator = ',';

  bool operator==(const TLxLocale&) const = default;
};

// The property index: form names, each with its property paths and the ident that holds the
// path's text. Both levels are sorted ignoring case in the user's locale and hold a name once.
// The cursor remembers the last form and entry, so that a run of lookups for one form skips the
// form search, and nothing is allocated while looking up.
class TLxLangProps {
 public:
  struct Entry {
    QString Path;
    quint16 Ident = 0;
  };
  struct Form {
    QString Name;
    std::vector<Entry> Entries;
  };

  TLxLangProps();

  void Clear();
  void Add(const QString& formName, const QString& path, quint16 ident);
  bool Find(QStringView formName, QStringView path);
  bool FindIdent(quint16 ident);
  // Throws ELangFileError "No such property" when the cursor is not on an entry.
  quint16 CurIdent() const;
  QString CurFormName() const;
  QString CurPropName() const;
  void RenameCurProp(const QString& path);
  void DeleteCurProp();

  qsizetype FormCount() const { return qsizetype(forms_.size()); }
  const Form& FormAt(qsizetype index) const { return forms_.at(size_t(index)); }
  const std::vector<Entry>& FormProps(qsizetype index) const { return FormAt(index).Entries; }
  qsizetype EntryCount() const;

 private:
  qsizetype FindForm(QStringView name, bool& found) const;
  static qsizetype FindPath(const QCollator& collator, const std::vector<Entry>& entries,
                            QStringView path, bool& found);

  QCollator collator_;
  std::vector<Form> forms_;
  qsizetype curForm_ = -1;
  qsizetype curEntry_ = -1;
};

// The one cursor of a file: every lookup repositions and returns this same object, so a result
// holds only until the next lookup on that file.
class TLxLangStr {
 public:
  explicit TLxLangStr(TLxLangFile& file) : file_(file) {}

  qsizetype Index() const { return index_; }
  const TLxIdentRec& Rec() const;
  quint16 Ident() const { return Rec().Ident; }
  const QByteArray& Text() const { return Rec().Text; }
  // The text in Unicode, from the file's code page.
  QString UnicodeText() const;
  quint16 FontIndex() const { return Rec().FontIndex; }
  quint8 Flags() const { return Rec().Flags; }
  bool HasFlags(quint8 mask) const { return (Rec().Flags & mask) == mask; }
  bool IsMultiLine() const { return Rec().Text.contains('\r'); }
  QString FormName() const;
  QString PropName() const;
  void SetPropName(const QString& path);

 private:
  friend class TLxLangFile;
  TLxLangFile& file_;
  qsizetype index_ = -1;
};

// One language file in memory. Loading keeps the file open with a shared lock until the object
// goes or CloseStream is called, so that nobody rewrites a language while it is in use.
//
// The reader takes untrusted input (language files come from the web): every length, count and
// offset is checked against the data, and a file that does not hold what it claims fails with
// "Language file is damaged".
class TLxLangFile {
 public:
  static constexpr quint8 kNativeFlag = 1;
  static constexpr quint8 kNotGivenFlag = 1;

  explicit TLxLangFile(const QString& name);
  virtual ~TLxLangFile();
  TLxLangFile(const TLxLangFile&) = delete;
  TLxLangFile& operator=(const TLxLangFile&) = delete;

  // ".lng" is appended when the name lacks it anywhere; a name without a directory part lands
  // in the current directory.
  static QString NormaliseName(const QString& name);

  virtual bool OpenStream(const QString& name);
  virtual void Load();
  void CloseStream();
  bool IsStreamOpen() const;

  const QString& FileName() const { return fileName_; }
  double Version() const { return version_; }
  int OffsetWidth() const { return version_ > 1.5 ? 4 : 2; }
  bool IsNew() const { return isNew_; }

  bool HasFileFlags(quint8 mask) const { return (fileFlags_ & mask) == mask; }
  void SetFileFlags(quint8 mask, bool on);
  quint8 FileFlags() const { return fileFlags_; }

  bool HasLocale() const { return hasLocale_; }
  void SetHasLocale(bool on) { hasLocale_ = on; }
  const TLxLocale& Locale() const { return locale_; }
  TLxLocale& Locale() { return locale_; }
  // Copies the regional block into the process-wide format settings.
  void ApplyLocale() const;

  quint8 BiDiMode() const { return bidiMode_; }
  void SetBiDiMode(quint8 mode) { bidiMode_ = mode; }
  quint8 Charset() const { return charset_; }
  void SetCharset(quint8 charset) { charset_ = charset; }
  // Bytes of the file's code page to Unicode and back.
  QString Decode(QByteArrayView bytes) const;

  qsizetype FontCount() const { return qsizetype(fonts_.size()); }
  TLxFontItem& Fonts(qsizetype index) { return fonts_.at(size_t(index)); }
  const TLxFontItem& Fonts(qsizetype index) const { return fonts_.at(size_t(index)); }
  void ClearFonts() { fonts_.clear(); }
  void AddFont(const TLxFontItem& font) { fonts_.push_back(font); }

  QList<QByteArray>& AuxList() { return auxList_; }
  const QList<QByteArray>& AuxList() const { return auxList_; }
  TLxLangProps& Props() { return props_; }
  const TLxLangProps& Props() const { return props_; }

  qsizetype Count() const { return qsizetype(records_.size()); }
  const TLxIdentRec& Record(qsizetype index) const { return records_.at(size_t(index)); }
  // The cursor on a record, or null when the index is outside the table.
  TLxLangStr* Strings(qsizetype index);
  TLxLangStr* FindByIdent(quint16 ident);
  TLxLangStr* FindByProp(QStringView formName, QStringView path);

 protected:
  struct NoLoad {};
  // For files that are made rather than read: the name is normalised, nothing is read.
  TLxLangFile(const QString& name, NoLoad);
  void FixOldTextPaths();

  QString fileName_;
  double version_ = 0;
  bool isNew_ = true;
  quint8 fileFlags_ = 0;
  bool hasLocale_ = false;
  TLxLocale locale_;
  quint8 bidiMode_ = 0;
  quint8 charset_ = 0;
  std::vector<TLxFontItem> fonts_;
  QList<QByteArray> auxList_;
  TLxLangProps props_;
  std::vector<TLxIdentRec> records_;
  std::unique_ptr<LangFileLock> stream_;
  TLxLangStr cursor_{*this};

 private:
  friend class TLxLangStr;
};

}  // namespace localisation
