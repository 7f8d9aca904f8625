# Runs one fuzz target for a bounded time: cmake -D FUZZER=... -D SEEDS=... -D WORK=...
# -D ARTIFACTS=... -D SECONDS=... -P run_fuzzer.cmake. VENTURON_FUZZ_SECONDS in the
# environment overrides SECONDS. Prints the run's final statistics; fails, with the
# fuzzer's whole report, when the target finds a failing input.
if(DEFINED ENV{VENTURON_FUZZ_SECONDS})
    set(SECONDS $ENV{VENTURON_FUZZ_SECONDS})
endif()
file(MAKE_DIRECTORY ${WORK} ${ARTIFACTS})
execute_process(
    COMMAND ${FUZZER}
        -max_total_time=${SECONDS}
        -timeout=10           # one input taking longer counts as a hang
        -rss_limit_mb=2048
        -max_len=4096
        -print_final_stats=1
        -artifact_prefix=${ARTIFACTS}/
        ${WORK} ${SEEDS}      # new inputs go to WORK; the checked-in seeds stay as they are
    RESULT_VARIABLE result
    OUTPUT_VARIABLE report
    ERROR_VARIABLE report)
if(NOT result EQUAL 0)
    message("${report}")
    message(FATAL_ERROR "${FUZZER} found a failing input (exit ${result}); it is in ${ARTIFACTS}")
endif()
string(REGEX MATCHALL "(Done [0-9]+ runs in [0-9]+ second\\(s\\)|stat::[a-z_]+: +[0-9]+)" stats "${report}")
list(JOIN stats "\n" stats)
message("${stats}")
