# The Debian package: the program, its launcher entry, icon and metainfo, with
# dependencies on the Qt 6 runtime worked out from the executable itself.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trolvane)
set(CPACK_PACKAGE_VENDOR "Trolvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bartlett's chi-square test for the next principal component")
set(CPACK_PACKAGE_DESCRIPTION
    "A small desktop calculator for principal-component and factor analysis: from the number of variables, the sample size, the determinant of the correlation matrix and the leading eigenvalues it runs Bartlett's test for each number of kept components.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Trolvane developers <developers@trolvane.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The window is drawn in Wine's free Tahoma; the Qt libraries are added to it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-wine)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
