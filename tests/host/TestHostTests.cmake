# The test host's own tests: Y4M, colour conversion, worker pool, command line, and a session
# driving a fake plug-in.
quorlin_test(testhost_unit_tests
  SOURCES testhost_y4m_test.cpp testhost_color_test.cpp testhost_workerpool_test.cpp
          testhost_cli_test.cpp testhost_geometry_test.cpp testhost_output_test.cpp
          testhost_chroma_test.cpp
  LIBS quorlin_testhost quorlin_processor_features)

# A minimal plug-in written to the host's SDK that records how the host drives it.
add_library(testhost_fake SHARED testhost_fake/FakeFilter.cpp)
target_include_directories(testhost_fake PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_options(testhost_fake PRIVATE -Wl,--kill-at)
set_target_properties(testhost_fake PROPERTIES SUFFIX ".auf")

# The session test needs a display for a top-level filter window; without one the host falls
# back to a message-only window and the window-size check is skipped.
quorlin_test(testhost_session_tests
  SOURCES testhost_session_test.cpp
  LIBS quorlin_testhost)
target_compile_definitions(testhost_session_tests PRIVATE
  FAKE_AUF_PATH="Z:$<TARGET_FILE:testhost_fake>")
add_dependencies(testhost_session_tests testhost_fake)

# quorlin_host.exe run as a user runs it: exit statuses, messages, output headers, file safety.
if(TARGET quorlin_host)
  add_test(NAME host_cli_tests
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/host_cli_test.sh ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh
            $<TARGET_FILE:quorlin_host> Z:$<TARGET_FILE:quorlin_auf> ${PROJECT_VERSION})
  set_tests_properties(host_cli_tests PROPERTIES TIMEOUT ${QUORLIN_TEST_TIMEOUT})
endif()
