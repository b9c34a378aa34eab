# The windows of Norvix: main window, results window, splash, dialogs.
# Included by this folder's CMakeLists.txt; adds them to the norvix program.

# The JPEG decoder has no Qt, so the fuzz configuration builds it as well.
if(SUITE_QT AND NOT SUITE_FUZZ)
  find_package(JPEG REQUIRED)
else()
  find_package(JPEG QUIET)
endif()
if(JPEG_FOUND)
  add_library(norvix_jpeg STATIC jpeg_decode.cc)
  target_include_directories(norvix_jpeg PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(norvix_jpeg PUBLIC JPEG::JPEG)
endif()

if(SUITE_QT AND NOT SUITE_FUZZ)
  add_library(norvix_windows STATIC
    dialogs.cc
    qt_dialogs.cc
    scripted_dialogs.cc
    display_text.cc
    jpeg_image.cc
    splash_progress.cc
    tsplash.cc
    tform2.cc
    tform1.cc
    tform1_commands.cc
    tform1_dialog.cc
    program_start.cc)
  target_include_directories(norvix_windows PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(norvix_windows PUBLIC norvix_engine norvix_kbase norvix_jpeg
                        common_qt Qt6::Widgets)
  set_target_properties(norvix_windows PROPERTIES AUTOMOC ON)

  # The icons and the splash picture, compiled into the program.
  set(norvix_art_dir ${SUITE_ROOT}/resources/norvix)
  qt_add_resources(norvix_windows norvix_art
    PREFIX /norvix
    BASE ${norvix_art_dir}
    FILES
      ${norvix_art_dir}/clear.png
      ${norvix_art_dir}/load.png
      ${norvix_art_dir}/save.png
      ${norvix_art_dir}/edit.png
      ${norvix_art_dir}/query.png
      ${norvix_art_dir}/exit.png
      ${norvix_art_dir}/report.png
      ${norvix_art_dir}/splash.jpg)

  target_sources(norvix PRIVATE windowed_start.cc)
  target_link_libraries(norvix PRIVATE norvix_windows)
  target_compile_definitions(norvix PRIVATE NORVIX_WINDOWS)

  # Draws the pictures above; built on request only (see its source).
  add_executable(make_norvix_art EXCLUDE_FROM_ALL
    ${norvix_art_dir}/generator/make_norvix_art.cc)
  target_link_libraries(make_norvix_art PRIVATE Qt6::Gui JPEG::JPEG)
endif()
