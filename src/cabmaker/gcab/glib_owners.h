#pragma once
// Owners of the GLib objects and errors that libgcab hands out.
#include <glib-object.h>

#include <memory>
#include <string>

namespace fernwick::cabmaker {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct ErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};

// The error's message; the error is freed.
inline std::string Why(GError* error) {
  const std::unique_ptr<GError, ErrorFree> owned(error);
  return owned ? owned->message : "unknown failure";
}

}  // namespace fernwick::cabmaker
