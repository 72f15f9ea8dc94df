# Generates the payload resource script and manifest: vesk_generate_payload() writes every payload
# item as RT_RCDATA under its id, and the id, name and source file of each item (for the tests).
#
# Where each file comes from: a file of that name in VESK_PAYLOAD_DIR wins; the product's own
# files must be there when VESK_PAYLOAD_DIR is set; otherwise the kit's own files (skin, batch
# file, uninstaller) and the stand-in product are used.

set(product_files mini_installer.exe metrics_sdk.dll crashlog.dll client_addon.dll
    crash_handler_a.exe crash_handler_b.exe device_tag.dll remote_switch.dll update_agent.dll
    update_pub.pem version.txt)

function(vesk_payload_source name out)
  if(VESK_PAYLOAD_DIR AND EXISTS "${VESK_PAYLOAD_DIR}/${name}")
    set(source "${VESK_PAYLOAD_DIR}/${name}")
  elseif(VESK_PAYLOAD_DIR AND name IN_LIST product_files)
    message(FATAL_ERROR "VESK_PAYLOAD_DIR ${VESK_PAYLOAD_DIR} has no ${name}")
  elseif(name STREQUAL "mini_installer.exe")
    set(source "${VESK_STANDIN_INSTALLER}")
  elseif(name IN_LIST product_files)
    set(source "${VESK_STANDIN_PAYLOAD_DIR}/${name}")
  elseif(name STREQUAL "VeskUninstall.exe")
    set(source "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/VeskUninstall.exe")
  elseif(name STREQUAL "vesk_installer.bat")
    set(source "${CMAKE_CURRENT_SOURCE_DIR}/engine/vesk_installer.bat")
  else()
    set(source "${CMAKE_CURRENT_SOURCE_DIR}/skin/${name}")
  endif()
  set(${out} "${source}" PARENT_SCOPE)
endfunction()

set(program_icon_group_id 101)
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/engine/payload_table.inc payload_rows
     REGEX "^VESK_PAYLOAD_ITEM")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS engine/payload_table.inc)

# The digest of a payload item (setup/payload_digest.py) is carried as its own resource: this
# offset plus the item's id, holding 64 hex digits, computed at build time from the embedded file.
set(VESK_PAYLOAD_DIGEST_ID_OFFSET 1000)

# vesk_payload_digest(<id> <source file> <folder> <rc lines variable> <files variable>)
# Adds the build step that records the digest of <source file> and the resource line for it.
function(vesk_payload_digest id source folder rc_variable files_variable)
  set(digest_file ${folder}/payload_digests/${id}.sha256)
  add_custom_command(OUTPUT ${digest_file}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/setup/payload_digest.py ${source} ${digest_file}
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/setup/payload_digest.py
    COMMENT "Recording the SHA-256 of payload item ${id}")
  math(EXPR digest_id "${VESK_PAYLOAD_DIGEST_ID_OFFSET} + ${id}")
  set(${rc_variable} "${${rc_variable}}${digest_id} RCDATA \"${digest_file}\"\n" PARENT_SCOPE)
  set(${files_variable} "${${files_variable}};${digest_file}" PARENT_SCOPE)
endfunction()

# vesk_generated_payload_item(<target> <id> <size in MiB> <folder> <definition>)
# Embeds in <target> an item of pseudo-random bytes (testsupport/make_payload_item.py) as RT_RCDATA
# <id> with its recorded digest, and defines <definition> as the item's file: the large item of
# tests and benchmarks.
function(vesk_generated_payload_item target id size folder definition)
  set(item ${folder}/payload_item_${id}.bin)
  add_custom_command(OUTPUT ${item}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/testsupport/make_payload_item.py ${item} ${size}
    DEPENDS ${PROJECT_SOURCE_DIR}/testsupport/make_payload_item.py
    COMMENT "Generating a payload item of ${size} MiB")
  set(rc_lines "${id} RCDATA \"${item}\"\n")
  set(files ${item})
  vesk_payload_digest(${id} ${item} ${folder} rc_lines files)
  file(GENERATE OUTPUT ${folder}/payload_item_${id}.rc CONTENT "${rc_lines}")
  set_source_files_properties(${folder}/payload_item_${id}.rc PROPERTIES
    OBJECT_DEPENDS "${files}")
  target_sources(${target} PRIVATE ${folder}/payload_item_${id}.rc)
  vesk_windows_path(item_path ${item})
  target_compile_definitions(${target} PRIVATE ${definition}=L"${item_path}")
endfunction()

# vesk_generate_payload(<rc file> <manifest file> <files variable> [INSTALLER <file>])
# Writes the resource script and the manifest, and sets <files variable> to the embedded files
# (the items and their recorded digests).
# INSTALLER replaces the source of mini_installer.exe (the benchmark's large installer).
function(vesk_generate_payload rc_file manifest_file files_variable)
  cmake_parse_arguments(ARG "" "INSTALLER" "" ${ARGN})
  set(rc_lines "// Generated from engine/payload_table.inc: the payload items.\n")
  set(manifest_lines "// Generated: id, file name and source file of each embedded payload item.\n")
  set(files "")
  foreach(row IN LISTS payload_rows)
    if(NOT row MATCHES "VESK_PAYLOAD_ITEM\\(([0-9]+), L\"([^\"]+)\"\\)")
      message(FATAL_ERROR "Unreadable payload row: ${row}")
    endif()
    set(id ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
    if(id EQUAL program_icon_group_id)
      continue()  # no data item: the number belongs to the program's icon group
    endif()
    if(ARG_INSTALLER AND name STREQUAL "mini_installer.exe")
      set(source "${ARG_INSTALLER}")
    else()
      vesk_payload_source(${name} source)
    endif()
    list(APPEND files "${source}")
    string(APPEND rc_lines "${id} RCDATA \"${source}\"\n")
    get_filename_component(rc_folder ${rc_file} DIRECTORY)
    vesk_payload_digest(${id} ${source} ${rc_folder} rc_lines files)
    vesk_windows_path(windows_source "${source}")
    string(APPEND manifest_lines "{${id}, L\"${name}\", L\"${windows_source}\"},\n")
  endforeach()
  file(GENERATE OUTPUT ${rc_file} CONTENT "${rc_lines}")
  file(GENERATE OUTPUT ${manifest_file} CONTENT "${manifest_lines}")
  set(${files_variable} "${files}" PARENT_SCOPE)
endfunction()

vesk_generate_payload(${CMAKE_CURRENT_BINARY_DIR}/payload.rc
                      ${CMAKE_CURRENT_BINARY_DIR}/payload_manifest.inc VESK_PAYLOAD_FILES)
