#pragma once
// One owner per Win32 handle kind; each closes its handle when it goes.
#include "platform/win32/windows_api.h"

#include <shlobj.h>
#include <wininet.h>

namespace fernwick::win32 {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : handle_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_ != nullptr) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

class UniqueFindHandle {
 public:
  explicit UniqueFindHandle(HANDLE h) : handle_(h) {}
  ~UniqueFindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  UniqueFindHandle(const UniqueFindHandle&) = delete;
  UniqueFindHandle& operator=(const UniqueFindHandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

class UniqueFont {
 public:
  UniqueFont() = default;
  explicit UniqueFont(HFONT font) : font_(font) {}
  ~UniqueFont() {
    if (font_ != nullptr) DeleteObject(font_);
  }
  UniqueFont(const UniqueFont&) = delete;
  UniqueFont& operator=(const UniqueFont&) = delete;
  HFONT Get() const { return font_; }
  void Reset(HFONT font) {
    if (font_ != nullptr) DeleteObject(font_);
    font_ = font;
  }

 private:
  HFONT font_ = nullptr;
};

// An item list the shell allocated (the folder picker's answer).
class UniqueItemIdList {
 public:
  explicit UniqueItemIdList(LPITEMIDLIST item) : item_(item) {}
  ~UniqueItemIdList() {
    if (item_ != nullptr) CoTaskMemFree(item_);
  }
  UniqueItemIdList(const UniqueItemIdList&) = delete;
  UniqueItemIdList& operator=(const UniqueItemIdList&) = delete;
  LPITEMIDLIST Get() const { return item_; }
  explicit operator bool() const { return item_ != nullptr; }

 private:
  LPITEMIDLIST item_;
};

// Keeps the clipboard open for the lifetime of the object.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_;
};

// A WinINet handle (internet access or opened URL).
class UniqueInternetHandle {
 public:
  explicit UniqueInternetHandle(HINTERNET h = nullptr) : handle_(h) {}
  ~UniqueInternetHandle() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
  }
  UniqueInternetHandle(UniqueInternetHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  UniqueInternetHandle& operator=(UniqueInternetHandle&&) = delete;
  UniqueInternetHandle(const UniqueInternetHandle&) = delete;
  UniqueInternetHandle& operator=(const UniqueInternetHandle&) = delete;
  HINTERNET Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// COM initialized for the current thread (single-threaded apartment) for
// the lifetime of the object; balanced also when COM was already initialized.
class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace fernwick::win32
