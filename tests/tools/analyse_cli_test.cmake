# The analyse subcommand, run as a user would run it.
find_package(nlohmann_json 3 REQUIRED)
orvane_add_core_test(orvane_analyse_cli_tests ${CMAKE_CURRENT_LIST_DIR}/analyse_cli_test.cpp)
target_link_libraries(orvane_analyse_cli_tests PRIVATE nlohmann_json::nlohmann_json)
target_compile_definitions(orvane_analyse_cli_tests PRIVATE
  ORVANE_CLI_PATH="$<TARGET_FILE:orvane-cli>")
add_dependencies(orvane_analyse_cli_tests orvane-cli)
