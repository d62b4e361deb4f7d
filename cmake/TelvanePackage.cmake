# The Debian package made from the install rules of the whole project.
# `bash scripts/package.sh` builds one; `cpack -G DEB` in a configured and built build folder
# makes one from that build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME telvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Telvane maintainers <maintainers@users.noreply.c-seed-4b5f4285.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion program for a surveying total station")
set(CPACK_PACKAGE_DESCRIPTION
    "Telvane receives measurement jobs, point lists and code lists from a total station over\n"
    "a serial line and sends points, codes and road stake-out tables back. It opens, edits\n"
    "and saves survey data in the instrument's text and binary formats, as comma-separated\n"
    "rows, DXF and GTS-7, and calculates road stake-out tables from intersection points or\n"
    "line elements with spirals, a vertical profile and stake chainages. The command-line\n"
    "tool telvane-cli does the conversions and the road calculation without a screen.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the window also needs Qt's platform
# plugins, which it loads at run time and so links nothing of.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Chinese texts need a font that has the characters.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
include(CPack)

