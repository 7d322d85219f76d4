#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace core {

// An INI file with the semantics of the classic private-profile functions: section and key
// names lose the blanks at both ends and match ignoring case, a value in one pair of matching
// double or single quotes reads without them, a key written again is replaced in place, new
// keys go to the end of their section and new sections to the end of the file, and every line
// that is not touched (comments, blank lines, unknown sections) stays byte for byte as it was.
//
// The file is read and parsed once, when the object is made; reads never touch the disk
// again. Commit() writes the whole file once, through a temporary file and a rename, so a
// crash leaves the old file or the new one. A missing file reads as empty; the first commit
// after a write creates it.
class ProfileFile {
 public:
  // Where a key line splits into name and value. The classic rule is the first "="; a file
  // whose values never hold one (durations) but whose names may (paths) splits at the last.
  enum class KeySplit { FirstEquals, LastEquals };

  // Throws core::Error when the file exists but cannot be read.
  explicit ProfileFile(QString path, KeySplit split = KeySplit::FirstEquals);

  const QString& path() const { return path_; }

  // All section names, in file order (the first of duplicates only).
  QStringList Sections() const;
  bool HasSection(const QString& section) const;
  // The keys of a section, in file order.
  QStringList Keys(const QString& section) const;
  std::optional<QString> Value(const QString& section, const QString& key) const;
  QString ReadString(const QString& section, const QString& key, const QString& fallback) const;

  // Line breaks inside names or values would split the line; they are written as blanks.
  void WriteString(const QString& section, const QString& key, const QString& value);

  bool IsModified() const { return modified_; }
  // Writes the file if anything was written since the last commit. Throws core::Error with the
  // system's reason; the file on disk is then unchanged.
  void Commit();

 private:
  struct Key {
    QString name;
    QString value;         // as it reads: trimmed, without enclosing quotes
    QString line;          // the value as written, for a key written since loading
    qsizetype begin = -1;  // byte range of its line without the line end; -1: added since
    qsizetype end = -1;
    bool changed = false;
  };
  struct Section {
    QString name;
    qsizetype bodyBegin = 0;  // bytes after the header line
    qsizetype bodyEnd = 0;    // start of the next header line, or the end of the data
    bool isNew = false;       // not in the file yet
    bool indexed = false;     // keys parsed
    std::vector<Key> keys;
    QHash<QString, qsizetype> keyIndex;  // case-folded name -> keys position
    qsizetype insertAt = 0;              // where keys added since loading go
    std::vector<qsizetype> appended;     // positions in keys of keys added since loading
  };

  void Load();
  void Parse();
  void ReloadIfCommitted() const;
  Section* FindSection(const QString& name);
  const Section* FindSection(const QString& name) const;
  void IndexKeys(Section& section) const;
  // Hands the new text of the file to `sink` piece by piece, untouched stretches straight from
  // the old text.
  void Render(const std::function<void(const char*, qsizetype)>& sink) const;

  QString path_;
  KeySplit split_;
  QByteArray data_;
  bool committed_ = false;  // the text on disk is newer than data_
  qsizetype start_ = 0;     // after a byte-order mark
  // Only the first of sections with the same name counts; later ones are kept in the file.
  mutable std::vector<Section> sections_;
  QHash<QString, qsizetype> sectionIndex_;  // case-folded name -> sections_ position
  QByteArray newline_ = "\r\n";
  bool modified_ = false;
};

}  // namespace core
