# The Debian package, built by `cpack -G DEB` (scripts/package.sh) from what
# the install rules put below the prefix.
set(CPACK_PACKAGE_NAME quantix96)
set(CPACK_PACKAGE_VENDOR "The Quantix 96 developers")
set(CPACK_PACKAGE_CONTACT "${QUANTIX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "unit converter for 32 physical quantities")
set(CPACK_PACKAGE_DESCRIPTION [[
Quantix 96 converts a value between two units of one of 32 quantities, from
acceleration to liquid volume, and shows the result as you type, with 0 to 8
decimals or in scientific notation. Every conversion passes through the
quantity's base unit with fixed factors; temperature uses offsets.

Up to ten units of your own can be added to each quantity but temperature.
Conversions can be kept as numbered records, saved as plain text or rich
text, copied and printed. The help covers the physical constants and the
metric prefixes.

The command-line converter quantix96-convert uses the same engine, the same
units and the same number style, for scripts and for large files of values.]])
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUANTIX_HOMEPAGE})
# The fonts the forms were laid out for.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
# Run Shell Program starts the first of these calculators that is installed.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-calculator | kcalc | qalculate-qt | qalculate-gtk | galculator | speedcrunch | x11-apps")
include(CPack)
