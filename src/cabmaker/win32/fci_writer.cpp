#include "cabmaker/win32/fci_writer.h"

#include "platform/win32/windows_api.h"

#include <fci.h>
#include <fcntl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/win32_handles.h"

namespace fernwick::cabmaker {
namespace {

// The FCI context: where its temporary files go, and the flag that a
// second cabinet was asked for.
struct Context {
  std::string temporaryPrefix;  // the cabinet's path: "...\\VoxtraInfo.cab.part"
  int temporaryFiles = 0;
  bool wantedAnotherCabinet = false;
};

FNFCIALLOC(Alloc) {
  return std::malloc(cb);
}
FNFCIFREE(Free) {
  std::free(memory);
}

FNFCIOPEN(Open) {
  (void)pmode;
  (void)pv;
  DWORD access = GENERIC_READ;
  if ((oflag & _O_RDWR) != 0) access = GENERIC_READ | GENERIC_WRITE;
  if ((oflag & _O_WRONLY) != 0) access = GENERIC_WRITE;
  const DWORD creation = (oflag & _O_CREAT) != 0 ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE file = CreateFileA(pszFile, access, FILE_SHARE_READ, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  return reinterpret_cast<INT_PTR>(file);
}

FNFCIREAD(Read) {
  (void)pv;
  DWORD got = 0;
  if (ReadFile(reinterpret_cast<HANDLE>(hf), memory, cb, &got, nullptr) == FALSE) {
    *err = static_cast<int>(GetLastError());
    return static_cast<UINT>(-1);
  }
  return got;
}

FNFCIWRITE(Write) {
  (void)pv;
  DWORD written = 0;
  if (WriteFile(reinterpret_cast<HANDLE>(hf), memory, cb, &written, nullptr) == FALSE) {
    *err = static_cast<int>(GetLastError());
    return static_cast<UINT>(-1);
  }
  return written;
}

FNFCICLOSE(Close) {
  (void)pv;
  if (CloseHandle(reinterpret_cast<HANDLE>(hf)) == FALSE) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  return 0;
}

FNFCISEEK(Seek) {
  (void)pv;
  const DWORD moved = SetFilePointer(reinterpret_cast<HANDLE>(hf), dist, nullptr, static_cast<DWORD>(seektype));
  if (moved == INVALID_SET_FILE_POINTER) *err = static_cast<int>(GetLastError());
  return static_cast<__LONG32>(moved);
}

FNFCIDELETE(Delete) {
  (void)pv;
  if (DeleteFileA(pszFile) == FALSE) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  return 0;
}

// FCI's temporary files go beside the cabinet, named after it
// ("VoxtraInfo.cab.part1", ...), so that whatever a run that was ended
// leaves behind is found and removed by the next one; FCI creates and
// deletes them itself.
FNFCIGETTEMPFILE(TempFile) {
  auto& context = *static_cast<Context*>(pv);
  const std::string name = context.temporaryPrefix + std::to_string(++context.temporaryFiles);
  if (static_cast<int>(name.size()) >= cbTempName) return FALSE;
  std::strcpy(pszTempName, name.c_str());
  return TRUE;
}

FNFCIFILEPLACED(Placed) {
  (void)pccab;
  (void)pszFile;
  (void)cbFile;
  (void)fContinuation;
  (void)pv;
  return 0;
}

FNFCIGETNEXTCABINET(NextCabinet) {
  (void)pccab;
  (void)cbPrevCab;
  static_cast<Context*>(pv)->wantedAnotherCabinet = true;
  return FALSE;
}

FNFCISTATUS(Status) {
  (void)typeStatus;
  (void)cb1;
  (void)pv;
  return static_cast<__LONG32>(typeStatus == statusCabinet ? cb2 : 0);
}

FNFCIGETOPENINFO(OpenInfo) {
  BY_HANDLE_FILE_INFORMATION information{};
  HANDLE file = OpenSourceFile(pszName);
  if (file == INVALID_HANDLE_VALUE) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  FILETIME local{};
  if (GetFileInformationByHandle(file, &information) == FALSE ||
      FileTimeToLocalFileTime(&information.ftLastWriteTime, &local) == FALSE ||
      FileTimeToDosDateTime(&local, pdate, ptime) == FALSE) {
    *pdate = 0x21;  // 1980-01-01
    *ptime = 0;
  }
  *pattribs = static_cast<USHORT>(information.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  // FCI reads the file through this handle and closes it with Close.
  (void)pv;
  return reinterpret_cast<INT_PTR>(file);
}

std::string FciFailure(const ERF& error, const Context& context) {
  if (context.wantedAnotherCabinet) return "the files do not fit into one cabinet";
  switch (error.erfOper) {
    case FCIERR_OPEN_SRC: return "a source file cannot be opened";
    case FCIERR_READ_SRC: return "a source file cannot be read";
    case FCIERR_ALLOC_FAIL: return "out of memory";
    case FCIERR_TEMP_FILE: return "no temporary file can be made";
    case FCIERR_BAD_COMPR_TYPE: return "unknown compression type";
    case FCIERR_CAB_FILE: return "the cabinet file cannot be created or written";
    case FCIERR_USER_ABORT: return "aborted";
    case FCIERR_MCI_FAIL: return "compression failed";
    case 9: return "the data exceed a limit of the cabinet format";  // FCIERR_CAB_FORMAT_LIMIT
    default: return "cabinet.dll error " + std::to_string(error.erfOper);
  }
}

}  // namespace

HANDLE OpenSourceFile(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string WriteCabinetWithFci(const CabinetPlan& plan, const std::string& cabinetPath, std::string& failedSource) {
  CCAB cab{};
  cab.cb = 0x7FFFFFFF;
  cab.cbFolderThresh = 0x7FFFFFFF;
  const auto slash = cabinetPath.find_last_of("\\/:");
  const std::string folder = slash == std::string::npos ? std::string() : cabinetPath.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? cabinetPath : cabinetPath.substr(slash + 1);
  if (folder.size() >= sizeof cab.szCabPath || name.size() >= sizeof cab.szCab) return "the path is too long";
  std::strcpy(cab.szCabPath, folder.c_str());
  std::strcpy(cab.szCab, name.c_str());
  cab.iCab = 1;
  cab.iDisk = 1;

  ERF error{};
  Context context;
  context.temporaryPrefix = cabinetPath;
  win32::UniqueFciContext fci(
      FCICreate(&error, Placed, Alloc, Free, Open, Read, Write, Close, Seek, Delete, TempFile, &cab, &context));
  if (fci.Get() == nullptr) return FciFailure(error, context);
  const TCOMP compression = plan.compress ? tcompTYPE_MSZIP : tcompTYPE_NONE;
  bool first = true;
  for (const auto& planned : plan.folders) {
    if (!first && FCIFlushFolder(fci.Get(), NextCabinet, Status) == FALSE) return FciFailure(error, context);
    first = false;
    for (const auto& file : planned) {
      std::string source = file.source;
      std::string destination = file.destination;
      if (FCIAddFile(fci.Get(), source.data(), destination.data(), FALSE, NextCabinet, Status, OpenInfo, compression) ==
          FALSE) {
        failedSource = file.source;
        return FciFailure(error, context);
      }
    }
  }
  if (FCIFlushCabinet(fci.Get(), FALSE, NextCabinet, Status) == FALSE) return FciFailure(error, context);
  return {};
}

}  // namespace fernwick::cabmaker
