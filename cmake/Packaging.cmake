# The Debian package: `cpack -G DEB` in the build tree makes
# vantrel_<version>_<arch>.deb from the install rules. The version is the
# project's; dependencies come from dpkg-shlibdeps, so they follow the
# libraries the programs really link.
include(GNUInstallDirs)

set(VANTREL_HOMEPAGE "https://vantrel.org" CACHE STRING
    "Project homepage; the AppStream screenshot is docs/vantrel.png under it")
set(VANTREL_MAINTAINER "Vantrel developers <maintainers@vantrel.org>" CACHE STRING
    "Maintainer of the Debian package")
set(VANTREL_RELEASE_DATE "2026-12-07")
# The same day as seconds since 1970 (00:00 UTC), for tools that date
# what they write, so the package comes out the same on every build.
set(VANTREL_RELEASE_EPOCH 1796601600)
set(VANTREL_APPSTREAM_ID "org.vantrel.Vantrel")

set(packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
set(generated_dir "${PROJECT_BINARY_DIR}/packaging")

# AppStream metadata, for software centres.
configure_file("${packaging_dir}/${VANTREL_APPSTREAM_ID}.metainfo.xml.in"
               "${generated_dir}/${VANTREL_APPSTREAM_ID}.metainfo.xml" @ONLY)
install(FILES "${generated_dir}/${VANTREL_APPSTREAM_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, compressed as Debian keeps them. Each page is its
# program's own --help, so it never drifts from the program.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
set(report_page "${generated_dir}/vantrel-report.1")
add_custom_command(
  OUTPUT "${report_page}.gz"
  COMMAND "${CMAKE_COMMAND}" -E env SOURCE_DATE_EPOCH=${VANTREL_RELEASE_EPOCH}
          "${HELP2MAN}" --no-info --no-discard-stderr
          --include "${packaging_dir}/vantrel-report.h2m"
          --output "${report_page}" $<TARGET_FILE:vantrel-report>
  COMMAND "${GZIP}" -9nf "${report_page}"
  DEPENDS vantrel-report "${packaging_dir}/vantrel-report.h2m"
  COMMENT "Writing the vantrel-report(1) manual page"
  VERBATIM)
set(window_page "${generated_dir}/vantrel.1")
add_custom_command(
  OUTPUT "${window_page}.gz"
  COMMAND "${CMAKE_COMMAND}" -E env SOURCE_DATE_EPOCH=${VANTREL_RELEASE_EPOCH}
          "${HELP2MAN}" --no-info --no-discard-stderr
          --include "${packaging_dir}/vantrel.h2m"
          --output "${window_page}" $<TARGET_FILE:vantrel>
  COMMAND "${GZIP}" -9nf "${window_page}"
  DEPENDS vantrel "${packaging_dir}/vantrel.h2m"
  COMMENT "Writing the vantrel(1) manual page"
  VERBATIM)
add_custom_target(manpages ALL DEPENDS "${report_page}.gz" "${window_page}.gz")
install(FILES "${report_page}.gz" "${window_page}.gz"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian wants a copyright file and a changelog beside every package.
# The release date again, in the changelog's form.
set(VANTREL_CHANGELOG_DATE "Mon, 07 Dec 2026 00:00:00 +0000")
configure_file("${packaging_dir}/changelog.in" "${generated_dir}/changelog" @ONLY)
add_custom_command(
  OUTPUT "${generated_dir}/changelog.gz"
  COMMAND "${GZIP}" -9nc "${generated_dir}/changelog" > "${generated_dir}/changelog.gz"
  DEPENDS "${generated_dir}/changelog"
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS "${generated_dir}/changelog.gz")
install(FILES "${packaging_dir}/copyright" "${generated_dir}/changelog.gz"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Vantrel developers")
set(CPACK_PACKAGE_CONTACT "${VANTREL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "simulate sine/cosine encoders and their arctangent interpolation")
# CPack puts the summary first and indents these lines itself; the empty
# line becomes Debian's paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vantrel simulates the two quadrature channels of an analog sine/cosine
position encoder, each with its own gain, offset and phase error, and
shows what an arctangent interpolator makes of them over one scale pitch.

The package holds the window (vantrel) and its command-line companion
(vantrel-report), which writes the same evaluation as tables, CSV, JSON
and plots, fits measured oscilloscope captures and runs tolerance studies.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VANTREL_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Python module is built for this interpreter's version; dpkg-shlibdeps
# cannot see that, nor numpy, which it imports when it runs.
if(VANTREL_PYTHON_MODULE)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VANTREL_PYTHON_DEPENDS}")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
