# The system libraries the program's sources use, found once for the program's build and for
# the fuzz targets' build (tests/fuzz), so that both link the same set.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Svg Multimedia Network)
find_package(PkgConfig REQUIRED)
# USB human-interface devices of the hardware drivers.
pkg_check_modules(HIDAPI REQUIRED IMPORTED_TARGET hidapi-hidraw)
# The program's own font matching (platform/Fonts).
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
# SMTP for the e-mail component (platform/SmtpMail).
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)

set(TAVRINOL_SYSTEM_LIBS PkgConfig::HIDAPI PkgConfig::FONTCONFIG PkgConfig::CURL)
