# GoogleTest for a cross-build: Debian has no Windows build of it, so it is
# built here from Debian's sources (package googletest, /usr/src/googletest),
# with the names find_package(GTest) gives (its own CMakeLists.txt makes the
# GTest:: aliases).
set(VENTURON_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest's sources, for builds where no GoogleTest library fits")
if(NOT EXISTS ${VENTURON_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${VENTURON_GOOGLETEST_SOURCE_DIR}: "
                        "run scripts/setup (Debian package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VENTURON_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
