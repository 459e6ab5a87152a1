# The Debian package that scripts/package makes from the install rules, its run-time dependencies
# worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelmox)
set(CPACK_PACKAGE_CONTACT "The Zelmox developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop monitor of changes to web pages and local files")
set(CPACK_PACKAGE_DESCRIPTION "Zelmox keeps a list of web pages and local files in up to twenty sections
and tells you when one changes. On request or at an interval it fetches every
page and decides by each watch's rule whether it changed: a digest of the whole
content or of the text outside the tags, the size, or keywords. It keeps the
original, previous and current copy of every page, colours the changed rows and
announces changes through its tray icon, a notice, sounds and a scan log.
zelmox-cli scans the same lists from a terminal, cron or a systemd user timer.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# https pages are checked against the system's certificates; Qt's own Wayland support is optional.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ca-certificates")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
