#pragma once

#include <zip.h>

namespace tbk {

// libzip's functions, loaded the first time an archive is read or written.
// Linked to the program, it would bring libcrypto and libbz2 into every
// start (some three million instructions, and milliseconds of mapping) for
// what most sessions never do.
struct LibZip {
  decltype(&::zip_fdopen) fdopen;
  decltype(&::zip_get_num_entries) get_num_entries;
  decltype(&::zip_stat_index) stat_index;
  decltype(&::zip_file_get_external_attributes) file_get_external_attributes;
  decltype(&::zip_discard) discard;
  decltype(&::zip_fopen_index) fopen_index;
  decltype(&::zip_fclose) fclose;
  decltype(&::zip_fread) fread;
  decltype(&::zip_strerror) strerror;
  decltype(&::zip_file_strerror) file_strerror;
  decltype(&::zip_error_init_with_code) error_init_with_code;
  decltype(&::zip_error_strerror) error_strerror;
  decltype(&::zip_error_fini) error_fini;
  decltype(&::zip_error_init) error_init;
  decltype(&::zip_error_set) error_set;
  decltype(&::zip_stat_init) stat_init;
  decltype(&::zip_source_seek_compute_offset) source_seek_compute_offset;
  decltype(&::zip_error_to_data) error_to_data;
  decltype(&::zip_source_function_create) source_function_create;
  decltype(&::zip_open_from_source) open_from_source;
  decltype(&::zip_source_free) source_free;
  decltype(&::zip_source_function) source_function;
  decltype(&::zip_file_add) file_add;
  decltype(&::zip_file_set_external_attributes) file_set_external_attributes;
  decltype(&::zip_set_file_compression) set_file_compression;
  decltype(&::zip_dir_add) dir_add;
  decltype(&::zip_register_progress_callback_with_state) register_progress_callback_with_state;
  decltype(&::zip_register_cancel_callback_with_state) register_cancel_callback_with_state;
  decltype(&::zip_close) close;

  // Loaded once, from the system's library folders only (a set-user-id
  // start ignores the caller's library paths). Raises TBKException (Setup)
  // naming the library when it is missing or lacks a function.
  static const LibZip& get();
};

}  // namespace tbk
