# The dump, resave, modcod, report and analyse subcommands, run as a user would run them.
orvane_add_core_test(orvane_cli_tests ${CMAKE_CURRENT_LIST_DIR}/cli_test.cpp)
target_compile_definitions(orvane_cli_tests PRIVATE ORVANE_CLI_PATH="$<TARGET_FILE:orvane-cli>")
add_dependencies(orvane_cli_tests orvane-cli)
