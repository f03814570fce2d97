#pragma once
// A file the analysis writes. It is written to a temporary file in the same
// directory and renamed over the target only when all of it was written, so a
// failed run never leaves a truncated file behind. A target that is no regular
// file (a device, a FIFO) is written in place.
#include <memory>
#include <ostream>
#include <string>

#include "analyze/FdStreamBuf.h"

class COutputFile {
 public:
  COutputFile() = default;
  COutputFile(const COutputFile&) = delete;
  COutputFile& operator=(const COutputFile&) = delete;
  // Removes the temporary file of an output that was not committed.
  ~COutputFile();

  // false with error ("cannot write PATH: reason") when the file cannot be created.
  bool Open(const std::string& path, std::string& error);
  std::ostream& Stream() { return *m_pStream; }
  // For a writer that writes whole blocks itself instead of through Stream().
  int Descriptor() const { return m_pBuffer->Descriptor(); }
  // Writes everything, closes the file and puts it in place.
  bool Commit(std::string& error);

 private:
  std::string Failed(int error) const;

  std::string m_name;  // as the user gave it
  std::string m_path;
  std::string m_temporary;  // empty when written in place
  std::unique_ptr<CFdStreamBuf> m_pBuffer;
  std::unique_ptr<std::ostream> m_pStream;
};
