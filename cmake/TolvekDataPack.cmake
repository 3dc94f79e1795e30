# The data pack: its generators run on the build machine. A native build adds them here; a cross
# build runs them through a native sub-build of this tree and copies the pack beside the plug-in.
if(NOT CMAKE_CROSSCOMPILING)
  foreach(dir assets/pictures assets/drawings)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${CMAKE_SOURCE_DIR}/${dir} ${CMAKE_BINARY_DIR}/${dir})
    endif()
  endforeach()
  set(datapack_targets)
  foreach(t datapack_pictures datapack_drawings)
    if(TARGET ${t})
      list(APPEND datapack_targets ${t})
    endif()
  endforeach()
  add_custom_target(datapack ALL)
  if(datapack_targets)
    add_dependencies(datapack ${datapack_targets})
  endif()
  return()
endif()

# Only the generators are configured there, with the build machine's own compiler.
set(TOLVEK_NATIVE_DATAPACK_DIR ${CMAKE_BINARY_DIR}/native-datapack)
add_custom_target(datapack ALL
  COMMAND ${CMAKE_COMMAND} -E env --unset=CC --unset=CXX --unset=CMAKE_TOOLCHAIN_FILE
          ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${TOLVEK_NATIVE_DATAPACK_DIR}
          -DCMAKE_BUILD_TYPE=Release -DTOLVEK_DATAPACK_ONLY=ON
  COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS --unset=MFLAGS --unset=MAKELEVEL
          ${CMAKE_COMMAND} --build ${TOLVEK_NATIVE_DATAPACK_DIR} --target datapack
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TOLVEK_NATIVE_DATAPACK_DIR}/plugin/v_tolvek
          ${TOLVEK_DATA_DIR}
  COMMENT "Making the data pack with the build machine's compiler"
  VERBATIM)
