# Source discovery shared by every target.
#
# Layout rule: src/<subsystem>/*.cpp is the toolkit-free core, src/<subsystem>/ui/*.cpp is Qt.
# Per-platform files end in _unix.cpp or _win.cpp and are picked here, never by #ifdef.

set(TESMIRA_SUBSYSTEMS link model editors gsm firmware app)

function(tesmira_platform_filter out_var)
    set(result ${ARGN})
    if(WIN32)
        list(FILTER result EXCLUDE REGEX "_unix\\.cpp$")
    else()
        list(FILTER result EXCLUDE REGEX "_win\\.cpp$")
    endif()
    set(${out_var} ${result} PARENT_SCOPE)
endfunction()

function(tesmira_glob out_var)
    file(GLOB found CONFIGURE_DEPENDS ${ARGN})
    tesmira_platform_filter(found ${found})
    set(${out_var} ${found} PARENT_SCOPE)
endfunction()

# Our own targets get the warning set; a target's sources are the only ones it applies to.
function(tesmira_warnings target)
    target_compile_options(${target} PRIVATE ${TESMIRA_WARNINGS})
endfunction()

# Under Ninja, a target's moc step reruns only for the headers its previous run saw, so a Q_OBJECT
# header added to an existing build folder would get no moc file. When the globbed list of a
# target's sources changes, drop the step's stamp so the next build runs it again.
function(tesmira_refresh_autogen target)
    set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.list)
    string(JOIN "\n" now ${ARGN})
    set(before "")
    if(EXISTS ${list_file})
        file(READ ${list_file} before)
    endif()
    if(NOT now STREQUAL before)
        file(WRITE ${list_file} "${now}")
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    endif()
endfunction()
