# Installs the build into a fresh staging prefix, as a test fixture:
#   cmake -DBUILD_DIR=<build tree> -DSTAGE=<prefix> [-DCONFIG=<config>] -P stage.cmake
file(REMOVE_RECURSE "${STAGE}")
set(config_args)
if(CONFIG)
    set(config_args --config "${CONFIG}")
endif()
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}" ${config_args}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install into ${STAGE} failed: ${result}")
endif()
