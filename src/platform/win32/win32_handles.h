#pragma once
// One owner per Win32 handle kind; each closes its handle when it goes.
#include "platform/win32/windows_api.h"

#include <fci.h>
#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>
#include <wininet.h>

#include <utility>

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

// A COM interface pointer; releases its reference when it goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For the out parameter of a call that hands over a new reference.
  Interface** Put() {
    Reset();
    return &pointer_;
  }
  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

// A BSTR this program owns.
class UniqueBstr {
 public:
  explicit UniqueBstr(BSTR text = nullptr) : text_(text) {}
  ~UniqueBstr() { SysFreeString(text_); }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  BSTR Get() const { return text_; }
  BSTR* Put() {
    SysFreeString(text_);
    text_ = nullptr;
    return &text_;
  }

 private:
  BSTR text_;
};

// COM on this thread for the lifetime of the object (a single-threaded
// apartment, which the window thread is anyway).
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

// An event log opened for reading.
class UniqueEventLog {
 public:
  explicit UniqueEventLog(HANDLE h) : handle_(h) {}
  ~UniqueEventLog() {
    if (handle_ != nullptr) CloseEventLog(handle_);
  }
  UniqueEventLog(const UniqueEventLog&) = delete;
  UniqueEventLog& operator=(const UniqueEventLog&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A registry key opened through Out().
class UniqueRegistryKey {
 public:
  UniqueRegistryKey() = default;
  ~UniqueRegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  UniqueRegistryKey(const UniqueRegistryKey&) = delete;
  UniqueRegistryKey& operator=(const UniqueRegistryKey&) = delete;
  HKEY Get() const { return key_; }
  HKEY* Out() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// A cabinet.dll compression context.
class UniqueFciContext {
 public:
  explicit UniqueFciContext(HFCI handle) : handle_(handle) {}
  ~UniqueFciContext() {
    if (handle_ != nullptr) FCIDestroy(handle_);
  }
  UniqueFciContext(const UniqueFciContext&) = delete;
  UniqueFciContext& operator=(const UniqueFciContext&) = delete;
  HFCI Get() const { return handle_; }

 private:
  HFCI handle_;
};

}  // namespace fernwick::win32
