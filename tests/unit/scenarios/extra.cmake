# The command line test runs kelem in-process, front end included.
target_link_libraries(test_scenarios PRIVATE kelemview)
