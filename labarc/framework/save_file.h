// A file for saving a document without putting the old one at risk. It writes to a new temporary
// file in the target's folder; only Commit() makes it the target, by syncing it to disk and
// renaming it over the old file. Dropped without a commit, or after any failed write, it removes
// the temporary file, and the old document stays exactly as it was.
//
//   CSaveFile file("plot.txt");
//   {
//     CArchive ar(&file, CArchive::store);
//     ...store the document...
//     ar.Close();  // hands the archive's buffered bytes to the file
//   }
//   file.Commit();
#pragma once

#include <string>

#include <labarc/framework/export.h>
#include <labarc/framework/file.h>

inline namespace labarc_framework {

class LABARC_API CSaveFile : public CFile {
 public:
  CSaveFile() = default;
  // Opens a temporary file beside `path`; raises CFileException when it cannot.
  explicit CSaveFile(const char* path);
  ~CSaveFile() override;

  // Opens a temporary file beside `path`, to replace `path` on Commit(). The flags are ignored:
  // a save file is always a new file, written from its start. On failure returns FALSE and fills
  // `error` when given.
  BOOL Open(const char* path, UINT openFlags = modeCreate | modeWrite,
            CFileException* error = nullptr) override;
  // Writes all of `buffer` or raises CFileException; a failure removes the temporary file at
  // once, later writes fail and Commit() refuses.
  void Write(const void* buffer, UINT count) override;
  // Syncs the new contents to disk and renames them over the target, then syncs the folder so
  // that the rename itself survives a crash. Raises CFileException when the file is not open,
  // a write failed before, or any step fails; the temporary file is removed then, and the
  // target is untouched unless the rename already took place.
  void Commit();
  // Removes the temporary file, leaving the target untouched. Close() does the same: a save file
  // is kept only through Commit().
  void Abandon() noexcept;
  void Close() override { Abandon(); }

 private:
  std::string m_target;     // the document the save replaces
  std::string m_temporary;  // empty when no temporary file exists
};

}  // namespace labarc_framework
