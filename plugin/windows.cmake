# vis_tolvek.dll for the original media player: one export named by the .def file, the C++ and
# GCC run-times linked in, so the DLL needs only system DLLs. Also the zip for users.
add_library(vis_tolvek SHARED ${CMAKE_CURRENT_SOURCE_DIR}/vis_tolvek.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/vis_tolvek.def)
target_link_libraries(vis_tolvek PRIVATE tolvek_core tolvek_platform)
target_link_options(vis_tolvek PRIVATE -static -static-libgcc -static-libstdc++
  -Wl,--exclude-all-symbols $<$<CONFIG:Release>:-s>)
set_target_properties(vis_tolvek PROPERTIES PREFIX "" OUTPUT_NAME vis_tolvek
  RUNTIME_OUTPUT_DIRECTORY ${TOLVEK_PLUGIN_DIR}
  LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/vis_tolvek.def)
tolvek_warnings(vis_tolvek)
add_dependencies(vis_tolvek datapack)

# The zip for users: the DLL, its data folder and a short read-me, in one folder.
set(TOLVEK_ZIP ${CMAKE_BINARY_DIR}/vis_tolvek-${PROJECT_VERSION}-win32.zip)
set(zip_stage ${CMAKE_BINARY_DIR}/zip)
add_custom_target(vis_tolvek_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_stage}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vis_tolvek> ${zip_stage}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TOLVEK_DATA_DIR} ${zip_stage}/v_tolvek
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/README-windows.txt
          ${zip_stage}/README.txt
  COMMAND ${CMAKE_COMMAND} -E rm -f ${TOLVEK_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${zip_stage}
          ${CMAKE_COMMAND} -E tar cf ${TOLVEK_ZIP} --format=zip vis_tolvek.dll v_tolvek README.txt
  COMMAND ${CMAKE_COMMAND} -E echo "zip for users: ${TOLVEK_ZIP}"
  DEPENDS vis_tolvek datapack
  VERBATIM)
