# Build settings every Tarvo target shares; targets link tarvo_common instead of repeating them.
add_library(tarvo_common INTERFACE)
target_compile_features(tarvo_common INTERFACE cxx_std_20)
target_compile_options(tarvo_common INTERFACE -Wall -Wextra $<$<BOOL:${TARVO_WERROR}>:-Werror>)
target_compile_definitions(tarvo_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_KEYWORDS
    TARVO_VERSION="${PROJECT_VERSION}")
target_include_directories(tarvo_common INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(TARVO_SANITIZE)
    target_compile_options(tarvo_common INTERFACE -fsanitize=${TARVO_SANITIZE} -fno-omit-frame-pointer -g)
    target_link_options(tarvo_common INTERFACE -fsanitize=${TARVO_SANITIZE})
endif()

# A library of logic must never pull in widgets: fail the configure step if one does.
function(tarvo_forbid_widgets target)
    get_target_property(libs ${target} LINK_LIBRARIES)
    foreach(lib IN LISTS libs)
        if(lib MATCHES "Widgets|Gui|tarvo_(ui_|platform|app)")
            message(FATAL_ERROR "${target} is a logic library and must not link ${lib}")
        endif()
    endforeach()
endfunction()
