#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace core {

// An INI file with the semantics of the classic private-profile functions: section and key
// names match ignoring case, a key written again is replaced in place, new keys go to the end
// of their section and new sections to the end of the file, and every line that is not
// touched (comments, blank lines, unknown sections) stays byte for byte as it was.
//
// The file is read and parsed once, when the object is made; reads never touch the disk
// again. Commit() writes the whole file once, through a temporary file and a rename, so a
// crash leaves the old file or the new one. A missing file reads as empty; the first commit
// after a write creates it.
class ProfileFile {
 public:
  // Throws core::Error when the file exists but cannot be read.
  explicit ProfileFile(QString path);

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
    QString value;
    qsizetype line;  // index into lines_, or -1 for a key added since loading
  };
  struct Section {
    QString name;
    qsizetype header = -1;  // line of "[name]", -1 for a new section
    qsizetype begin = 0;    // first line after the header
    qsizetype end = 0;      // one past the last line of the section body
    bool indexed = false;   // keys parsed
    std::vector<Key> keys;
    QHash<QString, qsizetype> keyIndex;  // case-folded name -> keys position
    qsizetype lastKeyLine = -1;          // where appended keys go
    std::vector<qsizetype> appended;     // positions in keys of keys added since loading
  };
  struct Line {
    qsizetype begin;
    qsizetype length;      // without the line end
    qsizetype fullLength;  // with the line end
  };

  void Parse();
  Section* FindSection(const QString& name);
  const Section* FindSection(const QString& name) const;
  void IndexKeys(Section& section) const;
  QByteArray Render() const;

  QString path_;
  QByteArray data_;
  std::vector<Line> lines_;
  mutable std::vector<Section> sections_;
  QHash<QString, qsizetype> sectionIndex_;  // case-folded name -> sections_ position
  QHash<qsizetype, QString> replaced_;      // line -> new "key=value" text
  QByteArray newline_ = "\r\n";
  bool modified_ = false;
};

}  // namespace core
