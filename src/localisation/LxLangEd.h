#pragma once

#include "localisation/LxLngFile.h"

#include <memory>
#include <vector>

namespace localisation {

// A language file that can also be written. The program keeps its native fallback file in
// one; the language tools make and rewrite files with it.
class TLxLangFileEdit : public TLxLangFile {
 public:
  explicit TLxLangFileEdit(const QString& name);

  // A file made from nothing under this name: nothing is read, the object is new and empty.
  static std::unique_ptr<TLxLangFileEdit> CreateBlank(const QString& name);

  // Writes the whole file as version 3.10: through a temporary file renamed into place, and
  // only when nobody holds the file loaded. Throws ELangFileError; the file on disk then stays
  // as it was. After it the object no longer holds its file open.
  virtual void Save();

  // The file image that Save writes, and the text offset of each record in it. Throws
  // ELangFileError when something cannot be stored.
  QByteArray Render(std::vector<qint32>* offsets = nullptr) const;

  // Names the file that Save writes next (normalised as a loaded name is); the file loaded
  // before is let go.
  void SetFileName(const QString& name);

  // Records stay in ascending ident order; false when the ident is present already.
  bool AddString(const TLxIdentRec& rec);
  TLxIdentRec& RecordAt(qsizetype index) { return records_.at(size_t(index)); }
  void ClearStrings();

 private:
  TLxLangFileEdit(const QString& name, NoLoad);
};

}  // namespace localisation
