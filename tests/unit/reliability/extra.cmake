# The soak program (soak/, not part of test_reliability): random events for every
# element kind through the host, using the fuzz targets' element driver.
add_executable(kelem_soak ${area_dir}/soak/soak_main.cpp ${PROJECT_SOURCE_DIR}/fuzz/driver/ElementDriver.cpp)
target_include_directories(kelem_soak PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/fuzz)
target_link_libraries(kelem_soak PRIVATE kelembase kelhost kelrt)
target_compile_definitions(kelem_soak PRIVATE KELEM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
target_link_options(kelem_soak PRIVATE -Wl,--allow-shlib-undefined)
# A short soak with every test run; CI runs a longer one (run.sh), the full one is
# `kelem_soak` with its default million events per kind.
add_test(NAME soak_short COMMAND kelem_soak --events 2000 WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
