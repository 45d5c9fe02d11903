# The portable folder as one zip for Windows users: Zelvio-<version>-win64.zip beside the
# folder in the build tree, holding a "Zelvio" folder with exactly the shipped files and the
# empty output folders. The version is the one the program's version resource shows
# (src/app/version.h). Only what is named here goes in, so a settings.ini or recordings left
# by a run from the build folder, and every test-only binary, stay out.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/app/version.h ZELVIO_VERSION_LINE
     REGEX "#define ZELVIO_VERSION_TEXT \"[^\"]+\"")
string(REGEX REPLACE ".*ZELVIO_VERSION_TEXT \"([^\"]+)\".*" "\\1" ZELVIO_VERSION "${ZELVIO_VERSION_LINE}")
if(NOT ZELVIO_VERSION)
  message(FATAL_ERROR "no ZELVIO_VERSION_TEXT in src/app/version.h")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/version.h)

set(ZELVIO_ZIP ${CMAKE_BINARY_DIR}/Zelvio-${ZELVIO_VERSION}-win64.zip)
# One line per file; its folder in the zip follows from its path.
set(ZELVIO_SHIPPED_FILES
  Zelvio.exe
  Programs/ZelvioCapturer.exe
  Programs/HookCursor.exe
  Filters/PushSource.ax
  Filters/ScreenCodec.ax)
# The folders the default output paths name. The program never creates a folder of its own
# accord, so without these a copy started from its own folder could neither record nor snap.
set(ZELVIO_SHIPPED_FOLDERS
  Output/Screencasts
  Output/Screenshots)
set(ZELVIO_ZIP_STAGE ${CMAKE_BINARY_DIR}/zip-stage)

# The portable folder in the build tree carries them too, as the zip's copy does.
set(dist_folders)
foreach(d IN LISTS ZELVIO_SHIPPED_FOLDERS)
  list(APPEND dist_folders ${ZELVIO_DIST_DIR}/${d})
endforeach()
add_custom_target(portable_folders ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_folders}
  COMMENT "Adding the empty output folders to the portable folder"
  VERBATIM)

set(stage_commands
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZELVIO_ZIP_STAGE})
set(shipped_paths)
foreach(f IN LISTS ZELVIO_SHIPPED_FILES)
  get_filename_component(folder ${ZELVIO_ZIP_STAGE}/Zelvio/${f} DIRECTORY)
  list(APPEND stage_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${ZELVIO_DIST_DIR}/${f} ${ZELVIO_ZIP_STAGE}/Zelvio/${f})
  list(APPEND shipped_paths ${ZELVIO_DIST_DIR}/${f})
endforeach()
foreach(d IN LISTS ZELVIO_SHIPPED_FOLDERS)
  list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELVIO_ZIP_STAGE}/Zelvio/${d})
endforeach()

add_custom_command(OUTPUT ${ZELVIO_ZIP}
  ${stage_commands}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${ZELVIO_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${ZELVIO_ZIP_STAGE} ${CMAKE_COMMAND} -E tar cf ${ZELVIO_ZIP} --format=zip Zelvio
  DEPENDS Zelvio ZelvioCapturer HookCursor PushSource ScreenCodec ${shipped_paths} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Packing the portable folder into Zelvio-${ZELVIO_VERSION}-win64.zip"
  VERBATIM)
add_custom_target(portable_zip ALL DEPENDS ${ZELVIO_ZIP})

# The zip holds the shipped files, byte for byte as built, and the empty output folders, and
# nothing else; the portable folder has the output folders too. A folder is named with a
# trailing slash.
set(shipped_folder_args)
foreach(d IN LISTS ZELVIO_SHIPPED_FOLDERS)
  list(APPEND shipped_folder_args ${d}/)
endforeach()
add_test(NAME portable_zip
  COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/check_portable_zip.py ${ZELVIO_ZIP} ${ZELVIO_DIST_DIR}
          ${ZELVIO_SHIPPED_FILES} ${shipped_folder_args})
