# The Debian package: `cpack --preset package` (or `cpack -G DEB` in a build configured
# with -DTAVURO_PORTABLE=OFF -DCMAKE_INSTALL_PREFIX=/usr) makes tavuro_2.1.0_amd64.deb
# with the program, its help page, the desktop entry and the icon. The dependencies are
# named here, one Debian package for each library the program loads
# (scripts/check_package holds them against the program's own list), and the font.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tavuro")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Tavuro")
set(CPACK_PACKAGE_CONTACT "Tavuro <tavuro@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tavuro收银机: cash register and sales ledger for a small shop")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A desktop cash register and sales ledger for a small shop, with a Chinese user interface.\n"
    "It records each sale line into the day's data file, prints receipts, builds daily,\n"
    "summed and month-end reports, searches past days and exports them to Excel and CSV.")
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tavuro.example.org/cashier/")
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.36)" "libstdc++6 (>= 12)" "libgcc-s1" "zlib1g"
    "libqt6core6 (>= 6.4)" "libqt6gui6 (>= 6.4)" "libqt6widgets6 (>= 6.4)" "libqt6printsupport6 (>= 6.4)"
    "libqt6svg6 (>= 6.4)" "libsqlite3-0 (>= 3.40)" "libxlsxwriter4 (>= 1.1)" "libcups2 (>= 2.4)" "libssl3 (>= 3.0)" "libpq5 (>= 15)"
    "fonts-wqy-zenhei")
# Qt's own dialogs (files, printer) in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
