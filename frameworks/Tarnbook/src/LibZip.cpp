#include "LibZip.h"

#include <dlfcn.h>

#include <string>

#include "Tarnbook/TBKException.h"

namespace tbk {

namespace {

[[noreturn]] void unavailable(const std::string& why) {
  throw TBKException(TBKException::Kind::Setup,
                     "Archives cannot be read or written: the zip library " GORVANE_LIBZIP_SONAME " " + why + ".");
}

template <typename Function>
void bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (!function) unavailable(std::string("has no ") + name);
}

LibZip load() {
  // Never unloaded: the functions stay bound for the life of the process.
  void* library = dlopen(GORVANE_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    unavailable(std::string("is not installed (") + (reason ? reason : "not found") + ")");
  }
  LibZip zip;
  bind(library, "zip_fdopen", zip.fdopen);
  bind(library, "zip_get_num_entries", zip.get_num_entries);
  bind(library, "zip_stat_index", zip.stat_index);
  bind(library, "zip_file_get_external_attributes", zip.file_get_external_attributes);
  bind(library, "zip_discard", zip.discard);
  bind(library, "zip_fopen_index", zip.fopen_index);
  bind(library, "zip_fclose", zip.fclose);
  bind(library, "zip_fread", zip.fread);
  bind(library, "zip_strerror", zip.strerror);
  bind(library, "zip_file_strerror", zip.file_strerror);
  bind(library, "zip_error_init_with_code", zip.error_init_with_code);
  bind(library, "zip_error_strerror", zip.error_strerror);
  bind(library, "zip_error_fini", zip.error_fini);
  bind(library, "zip_error_init", zip.error_init);
  bind(library, "zip_error_set", zip.error_set);
  bind(library, "zip_stat_init", zip.stat_init);
  bind(library, "zip_source_seek_compute_offset", zip.source_seek_compute_offset);
  bind(library, "zip_error_to_data", zip.error_to_data);
  bind(library, "zip_source_function_create", zip.source_function_create);
  bind(library, "zip_open_from_source", zip.open_from_source);
  bind(library, "zip_source_free", zip.source_free);
  bind(library, "zip_source_function", zip.source_function);
  bind(library, "zip_file_add", zip.file_add);
  bind(library, "zip_file_set_external_attributes", zip.file_set_external_attributes);
  bind(library, "zip_set_file_compression", zip.set_file_compression);
  bind(library, "zip_dir_add", zip.dir_add);
  bind(library, "zip_register_progress_callback_with_state", zip.register_progress_callback_with_state);
  bind(library, "zip_register_cancel_callback_with_state", zip.register_cancel_callback_with_state);
  bind(library, "zip_close", zip.close);
  return zip;
}

}  // namespace

const LibZip& LibZip::get() {
  static const LibZip zip = load();
  return zip;
}

}  // namespace tbk
