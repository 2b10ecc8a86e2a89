# Builds the Debian package with cpack in a scratch directory and checks
# what a user's apt would see: the file name, the files, the control
# fields (with dependencies computed from the linked libraries), the
# manual pages, and the desktop entry and AppStream metadata as their
# validators judge them.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -DVERSION=... -P checkpackage.cmake
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")

function(Run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

Run(cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${SCRATCH}")

# One package, named as Debian names it: name_version_architecture.deb.
Run(dpkg --print-architecture)
string(STRIP "${output}" architecture)
file(GLOB packages "${SCRATCH}/*.deb")
set(expected_name "${SCRATCH}/vantrel_${VERSION}_${architecture}.deb")
if(NOT packages STREQUAL expected_name)
  message(FATAL_ERROR "expected ${expected_name}, cpack made: ${packages}")
endif()
set(deb "${expected_name}")

Run(dpkg-deb --contents "${deb}")
set(contents "${output}")
foreach(path usr/bin/vantrel usr/bin/vantrel-report
             usr/share/applications/vantrel.desktop
             usr/share/icons/hicolor/48x48/apps/vantrel.png
             usr/share/metainfo/org.vantrel.Vantrel.metainfo.xml
             usr/share/man/man1/vantrel.1.gz usr/share/man/man1/vantrel-report.1.gz
             usr/share/doc/vantrel/copyright usr/share/doc/vantrel/changelog.gz)
  if(NOT contents MATCHES " \\./${path}\n")
    message(FATAL_ERROR "the package lacks /${path}:\n${contents}")
  endif()
endforeach()
# Everything lives under /usr: nothing under /usr/local or the build tree.
if(contents MATCHES " \\./usr/local/" OR contents MATCHES "${BUILD_DIR}")
  message(FATAL_ERROR "the package installs outside /usr:\n${contents}")
endif()

function(ControlField name expected)
  Run(dpkg-deb --field "${deb}" ${name})
  string(STRIP "${output}" value)
  if(NOT value STREQUAL expected)
    message(FATAL_ERROR "${name}: expected '${expected}', got '${value}'")
  endif()
endfunction()
ControlField(Package vantrel)
ControlField(Version "${VERSION}")
ControlField(Architecture "${architecture}")

# No dependency is written by hand, so finding Qt Widgets (the window) and
# Qt SVG (only vantrel-report links it) shows dpkg-shlibdeps read both
# programs.
Run(dpkg-deb --field "${deb}" Depends)
foreach(library libc6 libqt5widgets5 libqt5svg5)
  if(NOT output MATCHES "(^|, )${library} \\(>= [^)]+\\)")
    message(FATAL_ERROR "Depends lacks ${library} with a version: '${output}'")
  endif()
endforeach()

set(root "${SCRATCH}/root")
Run(dpkg-deb --extract "${deb}" "${root}")

# The stripped program still runs and reports the project's version.
Run("${root}/usr/bin/vantrel-report" --version)
if(NOT output MATCHES "^vantrel-report ${VERSION}\n")
  message(FATAL_ERROR "vantrel-report --version printed '${output}'")
endif()

# Each page is its program's --help (a late option stands for all of
# them) plus the hand-written sections; both carry the version.
Run(gzip -dc "${root}/usr/share/man/man1/vantrel-report.1.gz")
foreach(text "\n\\.TH VANTREL-REPORT \"1\" \"[^\"]+\" \"vantrel-report ${VERSION}\""
             "\n\\.SH EXAMPLES\n" "monte\\\\-carlo" "\n\\.SH \"SEE ALSO\"\n"
             "\n\\.TP\n130\n")
  if(NOT output MATCHES "${text}")
    message(FATAL_ERROR "vantrel-report.1 lacks ${text}:\n${output}")
  endif()
endforeach()
Run(gzip -dc "${root}/usr/share/man/man1/vantrel.1.gz")
foreach(text "\n\\.TH VANTREL \"1\" \"[^\"]+\" \"vantrel ${VERSION}\"" "skip\\\\-bad\\\\-rows"
             "\n\\.SH KEYS\n" "\n\\.SH \"SEE ALSO\"\n")
  if(NOT output MATCHES "${text}")
    message(FATAL_ERROR "vantrel.1 lacks ${text}:\n${output}")
  endif()
endforeach()

# The Python module where Debian's python3 finds it, importable as
# packaged, and the interpreter and numpy among the dependencies.
if(PYTHON_MODULE)
  file(GLOB modules "${root}/usr/lib/python3/dist-packages/vantrel.cpython-*.so")
  if(NOT modules OR NOT EXISTS "${root}/usr/lib/python3/dist-packages/vantrel.pyi")
    message(FATAL_ERROR "the package lacks the Python module or its stub:\n${contents}")
  endif()
  Run(dpkg-deb --field "${deb}" Depends)
  foreach(package python3 python3-numpy)
    if(NOT output MATCHES "(^|, )${package}( |,|$)")
      message(FATAL_ERROR "Depends lacks ${package}: '${output}'")
    endif()
  endforeach()
  Run(${CMAKE_COMMAND} -E env "PYTHONPATH=${root}/usr/lib/python3/dist-packages"
      "${PYTHON}" -c "print(__import__('vantrel').angle([0.0], [-1.0])[0])")
  if(NOT output MATCHES "^3\\.14159")
    message(FATAL_ERROR "the packaged module's angle of (0, -1): '${output}'")
  endif()
endif()

Run(gzip -dc "${root}/usr/share/doc/vantrel/changelog.gz")
if(NOT output MATCHES "^vantrel \\(${VERSION}\\) ")
  message(FATAL_ERROR "the changelog does not start at ${VERSION}:\n${output}")
endif()

set(metainfo "${root}/usr/share/metainfo/org.vantrel.Vantrel.metainfo.xml")
file(READ "${metainfo}" text)
if(NOT text MATCHES "<release version=\"${VERSION}\"")
  message(FATAL_ERROR "the metadata's release is not ${VERSION}")
endif()
Run(appstreamcli validate --no-net "${metainfo}")
Run(desktop-file-validate "${root}/usr/share/applications/vantrel.desktop")
