# Writes review pictures with kelvaro-sim: the game's first frame, and frame 120 of every scene
# the runner plays that is built (the runner answers 2 for one that is not built yet).
# Usage: cmake -DSIM=<kelvaro-sim> -DOUT=<folder> -P screenshots.cmake
if(NOT SIM OR NOT OUT)
  message(FATAL_ERROR "screenshots.cmake needs -DSIM=<kelvaro-sim> and -DOUT=<folder>")
endif()
file(MAKE_DIRECTORY ${OUT})

# Run inside OUT: a session reads and writes records.rec in its working folder, and the runner
# finds art/ and sound/ beside itself.
execute_process(COMMAND ${SIM} --session --frames 1 --screenshot 0:${OUT}/session_0000.png
  WORKING_DIRECTORY ${OUT} RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "kelvaro-sim could not write ${OUT}/session_0000.png (exit ${status}): ${errors}")
endif()
set(written session_0000.png)

foreach(scene RANGE 0 16)
  list(APPEND scenes ${scene})
endforeach()
list(APPEND scenes 19 20 21)
foreach(scene IN LISTS scenes)
  execute_process(COMMAND ${SIM} --scene ${scene} --frames 121 --screenshot 120:${OUT}/scene_${scene}.png
    WORKING_DIRECTORY ${OUT} RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
  if(status EQUAL 0)
    list(APPEND written scene_${scene}.png)
  elseif(NOT (status EQUAL 2 AND errors MATCHES "is not built yet"))
    message(FATAL_ERROR "kelvaro-sim --scene ${scene} failed (exit ${status}): ${errors}")
  endif()
endforeach()
message(STATUS "Wrote in ${OUT}: ${written}")
