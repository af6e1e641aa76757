# A Debian package of the installed layout (scripts/package makes it with "cpack -G DEB").
set(CPACK_PACKAGE_NAME somnilex)
set(CPACK_PACKAGE_VENDOR "The Somnilex developers")
set(CPACK_PACKAGE_CONTACT "${SOMNILEX_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${SOMNILEX_MAIN_SITE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dictionary of dream symbols")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SOMNILEX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Follows the synopsis above; CPack indents the lines and marks the blank ones as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Somnilex lists over a thousand dream symbols. Type a word and press Enter:
the list narrows to the symbols that begin with it, or contain it, and the
meaning of the chosen symbol opens beside the list, with the situations in
which it is dreamt and the symbols related to it. The pages come with the
program and need no Internet connection.

A word the dictionary lacks can be searched on the web from inside the
program. Update files add new symbols; each user keeps a copy of the
dictionary of their own, which also takes the new symbols of a newer
installed dictionary.

The package also holds somnilex-dict, which makes, prints and checks
dictionary and update files.")
# Dependencies from the shared libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
