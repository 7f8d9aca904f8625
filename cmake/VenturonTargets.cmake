if(VENTURON_BUILD_FUZZERS AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VENTURON_BUILD_FUZZERS needs clang: -DCMAKE_CXX_COMPILER=clang++")
endif()

# Warnings are errors where they help: the developer and CI builds turn this on
# (the presets and scripts/test do). A user's or packager's plain build leaves it
# off, so that a new compiler's new warning never stops an installation.
option(VENTURON_WERROR "Treat warnings in our own targets as errors" OFF)

# Warning flags for a target of ours.
function(venturon_target_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${VENTURON_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra
                                                 $<$<BOOL:${VENTURON_WERROR}>:-Werror>)
    endif()
endfunction()

# Compiler settings for the project's own targets (never directory-wide).
function(venturon_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
    venturon_target_warnings(${target})
    if(VENTURON_SANITIZE)
        venturon_target_sanitize(${target})
    endif()
    if(VENTURON_BUILD_FUZZERS)
        # Coverage feedback for libFuzzer in everything a fuzz target may reach.
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
endfunction()

# AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer; the first
# report ends the program. Only our own targets are instrumented: Qt and the
# system libraries are used as they are.
set(VENTURON_SANITIZER_FLAGS
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# Every instrumented program carries its default sanitizer options, so that the
# suppressions for third-party leaks apply however it is started (ctest, test
# discovery, by hand); variables such as ASAN_OPTIONS still override them.
if(VENTURON_SANITIZE)
    get_filename_component(VENTURON_SANITIZER_SUPPRESSIONS_DIR
                           ${CMAKE_CURRENT_LIST_DIR}/../tests/sanitizers ABSOLUTE)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/sanitizer_options.cpp.in
                   ${CMAKE_BINARY_DIR}/sanitizer_options.cpp @ONLY)
endif()

function(venturon_target_sanitize target)
    if(MSVC)
        message(FATAL_ERROR "VENTURON_SANITIZE needs clang or GCC")
    endif()
    target_compile_options(${target} PRIVATE ${VENTURON_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${VENTURON_SANITIZER_FLAGS})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/sanitizer_options.cpp)
    endif()
endfunction()
