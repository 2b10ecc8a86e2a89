# Installs the build into a scratch prefix and checks that both programs
# (the window and vantrel-report, side by side in bin/), the window's
# desktop entry and its icon land where a Linux desktop looks for them.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P checkinstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(path bin/vantrel bin/vantrel-report share/applications/vantrel.desktop
             share/icons/hicolor/48x48/apps/vantrel.png)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

# The entry must start the installed program by name and use the icon by
# its theme name.
file(STRINGS "${PREFIX}/share/applications/vantrel.desktop" entry)
foreach(line "Name=Vantrel" "Exec=vantrel" "Icon=vantrel" "Type=Application")
  list(FIND entry "${line}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()

find_program(validate desktop-file-validate)
if(validate)
  execute_process(COMMAND "${validate}" "${PREFIX}/share/applications/vantrel.desktop"
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate rejects the entry")
  endif()
endif()
