# The window tests read the virtual screen surface through the GDI object model.
target_include_directories(test_user PRIVATE ${PROJECT_SOURCE_DIR}/runtime/src)
