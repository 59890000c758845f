// A file for saving a document without putting the old one at risk. It writes to a new temporary
// file in the document's folder; only Commit() makes it the document, by syncing it to disk and
// renaming it over the old file. Dropped without a commit, or after any failed write, it removes
// the temporary file, and the old document stays exactly as it was.
//
//   CSaveFile file("plot.txt");
//   {
//     CArchive host(&file, CArchive::store);
//     CArchiveEx ar(&host, appName, appVersion, TRUE);
//     ...store the document...
//     ar.Close();    // the text archive's buffered bytes reach the file, errors raised here
//     host.Close();  // and the host archive's
//   }
//   file.Commit();
//
// Commit() refuses, and drops the save, while an archive over the file still holds bytes it has
// not handed on, and it raises the first write failure with its own cause, also one that an
// archive's destructor could not report.
//
// The document. A symbolic link is followed to the file it names, and the new file replaces that
// file in its own folder; the link stays. A document with other hard links is refused: renaming
// a new file over one of its names would part it from the others, which would keep the old text.
// The new file keeps the old one's permission bits, and its owner and group where the process may
// give them (a process run by root saving another user's file).
//
// The temporary file. Where the file system allows it, it has no name until Commit() gives it
// one (and renames that over the document straight away), so a save that is killed leaves
// nothing behind. Otherwise it is "<document>.tmp" and six digits, created readable by the saving
// user only when a document exists; a kill then leaves that file behind, and the next save of the
// same document that commits removes such leftovers. A second process saving the same document at
// the same moment may then lose its temporary file: its commit fails and reports it.
#pragma once

#include <string>

#include <labarc/framework/export.h>
#include <labarc/framework/file.h>

inline namespace labarc_framework {

class LABARC_API CSaveFile : public CFile {
 public:
  // An open flag: always use a named temporary file, as on file systems without unnamed ones.
  static constexpr UINT modeNamedTemporary = 0x10000;

  CSaveFile() = default;
  // Opens a temporary file for `path`; raises CFileException when it cannot.
  explicit CSaveFile(const char* path, UINT openFlags = modeCreate | modeWrite);
  ~CSaveFile() override;

  // Opens a temporary file for `path`, to replace the document on Commit(). A save file is always
  // a new file, written from its start; of the flags only modeNamedTemporary counts. On failure
  // returns FALSE and fills `error` when given: the error names the document and, when the
  // temporary file could not be made, its folder.
  BOOL Open(const char* path, UINT openFlags = modeCreate | modeWrite,
            CFileException* error = nullptr) override;
  // Writes all of `buffer` or raises CFileException; a failure removes the temporary file at
  // once, later writes raise the same failure and Commit() refuses with it.
  void Write(const void* buffer, UINT count) override;
  // Syncs the new contents to disk and renames them over the document, then syncs the folder so
  // that the rename itself survives a crash. Raises CFileException when the file is not open, a
  // write failed before (with that write's cause), an archive over the file still holds unwritten
  // bytes, or any step fails; the temporary file is removed then, and the document is untouched
  // unless the rename already took place.
  void Commit();
  // Removes the temporary file, leaving the document untouched. Close() does the same: a save file
  // is kept only through Commit().
  void Abandon() noexcept;
  void Close() override { Abandon(); }

 private:
  [[noreturn]] LABARC_LOCAL void Fail(int cause, int osError, const char* detail = nullptr);
  LABARC_LOCAL void RemoveLeftovers() const noexcept;

  std::string m_target;     // the document the save replaces, symbolic links followed
  std::string m_temporary;  // the temporary file's name; empty when it has none
  bool m_bOpen = false;     // a temporary file exists
  int m_nFailedCause = 0;   // the first failed write's cause and system error, 0 when none
  int m_nFailedOsError = 0;
};

}  // namespace labarc_framework
