# The scenario runner's `menu` verbs need the kelem tool library, which the runtime tests
# do not link: they get an executable of their own (Linux: the tool's menus are the runtime's).
if(WIN32)
  return()
endif()
add_executable(test_menu_kelem ${area_dir}/kelem/kelem_menu_test.cpp ${area_dir}/menu_test_util.cpp)
target_link_libraries(test_menu_kelem PRIVATE kelem_test_support kelemtool GTest::gtest_main)
target_link_options(test_menu_kelem PRIVATE -Wl,--allow-shlib-undefined)
add_test(NAME menu_kelem COMMAND test_menu_kelem WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
