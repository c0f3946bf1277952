# The dump, resave and modcod subcommands, run as a user would run them.
find_package(nlohmann_json 3 REQUIRED)
orvane_add_core_test(orvane_plan_cli_tests ${CMAKE_CURRENT_LIST_DIR}/plan_cli_test.cpp)
target_link_libraries(orvane_plan_cli_tests PRIVATE nlohmann_json::nlohmann_json)
target_compile_definitions(orvane_plan_cli_tests PRIVATE
  ORVANE_CLI_PATH="$<TARGET_FILE:orvane-cli>")
add_dependencies(orvane_plan_cli_tests orvane-cli)
