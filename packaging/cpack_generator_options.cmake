# Read by cpack before it runs each generator: that generator's own settings.
if(CPACK_GENERATOR STREQUAL "DEB")
  # The shared libraries' packages, as dpkg-shlibdeps finds them in the
  # executable, and what it cannot find there: the CJK font every caption is
  # drawn in. xdg-open opens the web pages, the CA certificates let files
  # come over https; Wine runs a Windows client.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, ca-certificates")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
endif()
