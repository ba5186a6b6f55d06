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
