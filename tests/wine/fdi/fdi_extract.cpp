// Extracts a cabinet through cabinet.dll's FDI, as Windows' own tools do:
// "fdi_extract CABINET OUTDIR". Prints each file name; exit 0 when FDI
// extracted every file, 1 otherwise.
#include <windows.h>

#include <fcntl.h>
#include <fdi.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_outDir;

FNALLOC(Alloc) {
  return std::malloc(cb);
}
FNFREE(Free) {
  std::free(pv);
}
FNOPEN(Open) {
  return _open(pszFile, oflag | _O_BINARY, pmode);
}
FNREAD(Read) {
  return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb));
}
FNWRITE(Write) {
  return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb));
}
FNCLOSE(Close) {
  return _close(static_cast<int>(hf));
}
FNSEEK(Seek) {
  return _lseek(static_cast<int>(hf), dist, seektype);
}

FNFDINOTIFY(Notify) {
  switch (fdint) {
    case fdintCOPY_FILE: {
      std::printf("%s\n", pfdin->psz1);
      const std::string target = g_outDir + "\\" + pfdin->psz1;
      return _open(target.c_str(), _O_BINARY | _O_CREAT | _O_WRONLY | _O_TRUNC, _S_IREAD | _S_IWRITE);
    }
    case fdintCLOSE_FILE_INFO: _close(static_cast<int>(pfdin->hf)); return TRUE;
    default: return 0;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fdi_extract CABINET OUTDIR\n");
    return 2;
  }
  g_outDir = argv[2];
  std::string cabinet = argv[1];
  const auto slash = cabinet.find_last_of('\\');
  std::string folder = slash == std::string::npos ? std::string() : cabinet.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? cabinet : cabinet.substr(slash + 1);
  ERF error{};
  HFDI fdi = FDICreate(Alloc, Free, Open, Read, Write, Close, Seek, cpuUNKNOWN, &error);
  if (fdi == nullptr) return 1;
  const BOOL copied = FDICopy(fdi, name.data(), folder.data(), 0, Notify, nullptr, nullptr);
  FDIDestroy(fdi);
  if (copied == FALSE) {
    std::fprintf(stderr, "FDICopy failed: %d\n", error.erfOper);
    return 1;
  }
  return 0;
}
