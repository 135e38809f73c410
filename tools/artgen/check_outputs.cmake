# Regenerates the artwork into a scratch tree and compares it byte for byte
# with the committed files, so a change to the generator cannot go in without
# its outputs (and a run that is not reproducible shows up at once).
#   cmake -DARTGEN=<artgen> -DROOT=<repository> -DWORK=<scratch dir> -P check_outputs.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/resources" "${WORK}/samples" "${WORK}/docs")
execute_process(COMMAND "${ARTGEN}" "${WORK}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "artgen failed: ${rc}")
endif()
set(stale "")
foreach(f resources/DATA.bmp resources/ICON.bmp resources/MES.bmp resources/ICON_EN.bmp resources/MES_EN.bmp resources/icon.png
          samples/chips.bmp samples/Brin.bmp docs/art-preview.png)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${ROOT}/${f}" "${WORK}/${f}" RESULT_VARIABLE differs)
  if(differs)
    list(APPEND stale "${f}")
  endif()
endforeach()
if(stale)
  message(FATAL_ERROR "out of date, regenerate with artgen: ${stale}")
endif()
