# Gives a shipped binary its version resource: the project's version as numbers and as text,
# and a Japanese string block with the product name, a description and the copyright.
#
# The resource is compiled by windres on its own rather than as a source in the target's
# language list, so that the target's compiler options never reach windres.
function(quorlin_version_resource target description)
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  get_target_property(suffix ${target} SUFFIX)
  if(NOT suffix)
    set(suffix ${CMAKE_SHARED_LIBRARY_SUFFIX})
  endif()
  set(QUORLIN_RC_FILE ${output_name}${suffix})
  set(QUORLIN_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.o)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionResource.rc.in ${rc} @ONLY)
  add_custom_command(OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -O coff -i ${rc} -o ${object}
    DEPENDS ${rc}
    COMMENT "Version resource of ${QUORLIN_RC_FILE}")
  set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${object})
endfunction()
