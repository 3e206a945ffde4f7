# Sound effects: included from tools/CMakeLists.txt after `kelvaro_synth` is defined.

# Effect patches: a small text format parsed and rendered by `kelvaro_sfx`.
add_library(kelvaro_sfx STATIC ${CMAKE_CURRENT_LIST_DIR}/patch.cpp)
target_include_directories(kelvaro_sfx PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR})
target_compile_options(kelvaro_sfx PRIVATE ${KELVARO_TOOL_FLAGS})
target_link_libraries(kelvaro_sfx PUBLIC kelvaro_synth)

add_executable(kelvaro-sfxgen ${CMAKE_CURRENT_LIST_DIR}/sfxgen_main.cpp)
target_compile_options(kelvaro-sfxgen PRIVATE ${KELVARO_TOOL_FLAGS})
target_link_libraries(kelvaro-sfxgen PRIVATE kelvaro_sfx)

# One patch per effect: assets/sound/effects/<name>.sfx becomes sound/<name>.wav.
file(GLOB KELVARO_SFX_PATCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/sound/effects/*.sfx)
set(KELVARO_SFX_OUTPUTS "")
foreach(patch ${KELVARO_SFX_PATCHES})
  get_filename_component(effect ${patch} NAME_WE)
  list(APPEND KELVARO_SFX_OUTPUTS ${CMAKE_BINARY_DIR}/sound/${effect}.wav)
endforeach()
add_custom_command(
  OUTPUT ${KELVARO_SFX_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/sound
  COMMAND kelvaro-sfxgen ${CMAKE_SOURCE_DIR}/assets/sound/effects ${CMAKE_BINARY_DIR}/sound
  DEPENDS kelvaro-sfxgen ${KELVARO_SFX_PATCHES}
  COMMENT "Rendering the sound effects"
  VERBATIM)
add_custom_target(kelvaro_sound_effects DEPENDS ${KELVARO_SFX_OUTPUTS})
add_dependencies(kelvaro_assets kelvaro_sound_effects)

# Review aid (not part of the build): sound/review/report.txt with duration, peak, RMS and ends of
# every effect and piece of music in sound/, and a spectrogram PNG of each.
add_executable(kelvaro-soundreview ${CMAKE_CURRENT_LIST_DIR}/review_main.cpp)
target_compile_options(kelvaro-soundreview PRIVATE ${KELVARO_TOOL_FLAGS})
target_link_libraries(kelvaro-soundreview PRIVATE kelvaro_synth PkgConfig::MPG123)
add_custom_target(kelvaro_sound_review
  COMMAND kelvaro-soundreview ${CMAKE_BINARY_DIR}/sound
  DEPENDS kelvaro-soundreview
  COMMENT "Writing sound/review/report.txt and the spectrograms"
  VERBATIM)
add_dependencies(kelvaro_sound_review kelvaro_assets)
