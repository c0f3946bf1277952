# The report subcommand, run as a user would run it.
orvane_add_core_test(orvane_report_cli_tests ${CMAKE_CURRENT_LIST_DIR}/report_cli_test.cpp)
target_compile_definitions(orvane_report_cli_tests PRIVATE
  ORVANE_CLI_PATH="$<TARGET_FILE:orvane-cli>")
add_dependencies(orvane_report_cli_tests orvane-cli)
