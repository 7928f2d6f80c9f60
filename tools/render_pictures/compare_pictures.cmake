# Renders RESOURCES/drawings into OUTPUT, a fresh folder, and fails unless the rendered pictures
# and the committed ones under RESOURCES are the same files, with the same bytes or the same
# pixels within a rounding step.
file(REMOVE_RECURSE "${OUTPUT}")
file(MAKE_DIRECTORY "${OUTPUT}")
execute_process(COMMAND "${RENDERER}" "${RESOURCES}/drawings" "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the renderer failed: ${status}")
endif()

file(GLOB_RECURSE rendered RELATIVE "${OUTPUT}" "${OUTPUT}/*")
file(GLOB_RECURSE committed RELATIVE "${RESOURCES}"
    "${RESOURCES}/*.bmp" "${RESOURCES}/*.ico" "${RESOURCES}/icons/*")
set(not_committed ${rendered})
list(REMOVE_ITEM not_committed ${committed})
set(not_rendered ${committed})
list(REMOVE_ITEM not_rendered ${rendered})
if(not_committed OR not_rendered)
    message(FATAL_ERROR "rendered but not committed: ${not_committed}\n"
        "committed but not rendered: ${not_rendered}")
endif()

# Files whose bytes differ are compared pixel by pixel: another processor may round a few edge
# pixels a step apart.
set(differing "")
foreach(picture IN LISTS rendered)
    file(SHA256 "${OUTPUT}/${picture}" new)
    file(SHA256 "${RESOURCES}/${picture}" old)
    if(NOT new STREQUAL old)
        execute_process(COMMAND "${RENDERER}" --same "${OUTPUT}/${picture}"
            "${RESOURCES}/${picture}" RESULT_VARIABLE same)
        if(NOT same EQUAL 0)
            list(APPEND differing "${picture}")
        endif()
    endif()
endforeach()
if(differing)
    message(FATAL_ERROR "differ from their drawings: ${differing}\n"
        "Render them again with kaleno-render-pictures, or mend the drawing.")
endif()
