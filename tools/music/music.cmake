# Music: twenty looping pieces rendered from the scores in assets/sound/music by kelvaro-musicgen.
# Included from tools/CMakeLists.txt, so paths are relative to tools/.
pkg_check_modules(LAME REQUIRED IMPORTED_TARGET lame)
find_package(Threads REQUIRED)
add_library(kelvaro_music STATIC music/score.cpp music/instruments.cpp music/render.cpp music/mp3.cpp)
target_include_directories(kelvaro_music PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(kelvaro_music PRIVATE ${KELVARO_TOOL_FLAGS})
target_link_libraries(kelvaro_music PUBLIC kelvaro_synth PkgConfig::LAME PkgConfig::MPG123 Threads::Threads)

add_executable(kelvaro-musicgen music/main.cpp)
target_compile_options(kelvaro-musicgen PRIVATE ${KELVARO_TOOL_FLAGS})
target_link_libraries(kelvaro-musicgen PRIVATE kelvaro_music)

set(KELVARO_MUSIC_NAMES KelvaroMainTheme OpeningCeremonies MedalPresentation ClosingCeremonies 100MDash Javelin
  Equestrian Diving Rings HighJump Weightlifting ShotPut PoleVault Rowing Swimming Racewalking KayakSlalom HammerThrow
  Cycling Archery)
set(KELVARO_MUSIC_SCORES "")
set(KELVARO_MUSIC_OUTPUTS "")
foreach(piece IN LISTS KELVARO_MUSIC_NAMES)
  list(APPEND KELVARO_MUSIC_SCORES ${CMAKE_SOURCE_DIR}/assets/sound/music/${piece}.kms)
  list(APPEND KELVARO_MUSIC_OUTPUTS ${CMAKE_BINARY_DIR}/sound/${piece}.mp3)
endforeach()
add_custom_command(
  OUTPUT ${KELVARO_MUSIC_OUTPUTS}
  COMMAND kelvaro-musicgen ${CMAKE_BINARY_DIR}/sound ${KELVARO_MUSIC_SCORES}
  DEPENDS kelvaro-musicgen ${KELVARO_MUSIC_SCORES}
  COMMENT "Rendering the music"
  VERBATIM)
add_custom_target(kelvaro_music_files DEPENDS ${KELVARO_MUSIC_OUTPUTS})
add_dependencies(kelvaro_assets kelvaro_music_files)
