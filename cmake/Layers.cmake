# Layers and header views.
#
# Every include names its folder from the repository root
# ("client/net/Fields.h"), but no target sees the root. Each folder's headers
# are linked into a view of their own (build/include/<folder>/<folder>/*.h,
# the folder's own headers only, not its subfolders'), and the libraries of
# the folder offer that view to the targets that link them
# (tessaly_headers). A header therefore resolves only where a library of its
# folder is linked, and tessaly_check_layers() refuses, at configure time,
# every link that the picture in cmake/LayerPicture.cmake does not allow.
# The picture is written bottom up and a layer may only name layers above
# it in the file, so it cannot hold a cycle.

# tessaly_layer(<folder> [USES <folder>...] [USES_ALL])
# Declares the layer of the targets defined in <folder> (and in its
# subfolders that are no layer of their own). It may use the layers it names
# and whatever those may use. USES_ALL: every layer declared so far (tests,
# benchmarks).
function(tessaly_layer folder)
    cmake_parse_arguments(L "USES_ALL" "" "USES" ${ARGN})
    get_property(known GLOBAL PROPERTY TESSALY_LAYERS)
    if(folder IN_LIST known)
        message(FATAL_ERROR "Layer ${folder} is declared twice")
    endif()
    set(allowed)
    if(L_USES_ALL)
        set(allowed ${known})
    endif()
    foreach(used IN LISTS L_USES)
        if(NOT used IN_LIST known)
            message(FATAL_ERROR "Layer ${folder} uses ${used}, which is not declared below it")
        endif()
        get_property(closure GLOBAL PROPERTY TESSALY_LAYER_USES_${used})
        list(APPEND allowed ${used} ${closure})
    endforeach()
    list(REMOVE_DUPLICATES allowed)
    set_property(GLOBAL APPEND PROPERTY TESSALY_LAYERS ${folder})
    set_property(GLOBAL PROPERTY TESSALY_LAYER_USES_${folder} ${allowed})
endfunction()

# tessaly_layer_of(<folder> <out>): the declared layer that holds a folder
# (the longest declared prefix), or empty.
function(tessaly_layer_of folder out)
    get_property(known GLOBAL PROPERTY TESSALY_LAYERS)
    set(best "")
    foreach(layer IN LISTS known)
        string(LENGTH "${layer}" n)
        string(LENGTH "${best}" b)
        if((folder STREQUAL layer OR folder MATCHES "^${layer}/") AND n GREATER b)
            set(best ${layer})
        endif()
    endforeach()
    set(${out} "${best}" PARENT_SCOPE)
endfunction()

# tessaly_layer_allows(<from> <to> <out>): TRUE when a target of layer <from>
# may link a library of layer <to>.
function(tessaly_layer_allows from to out)
    get_property(allowed GLOBAL PROPERTY TESSALY_LAYER_USES_${from})
    if(from STREQUAL to OR to IN_LIST allowed)
        set(${out} TRUE PARENT_SCOPE)
    else()
        set(${out} FALSE PARENT_SCOPE)
    endif()
endfunction()

# tessaly_headers(<target>... [FOLDERS <subfolder>...])
# Gives each target the header views of its folder (the current one) or of
# the listed subfolders of it: PUBLIC for libraries, PRIVATE for programs.
function(tessaly_headers)
    cmake_parse_arguments(H "" "" "FOLDERS" ${ARGN})
    file(RELATIVE_PATH here ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(views)
    if(NOT H_FOLDERS)
        set(H_FOLDERS .)
    endif()
    foreach(sub IN LISTS H_FOLDERS)
        cmake_path(APPEND here ${sub} OUTPUT_VARIABLE folder)
        cmake_path(NORMAL_PATH folder)
        string(REGEX REPLACE "/$" "" folder "${folder}")
        tessaly_header_view(${folder} view)
        list(APPEND views ${view})
    endforeach()
    foreach(target IN LISTS H_UNPARSED_ARGUMENTS)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "INTERFACE_LIBRARY")
            target_include_directories(${target} INTERFACE ${views})
        elseif(type STREQUAL "EXECUTABLE")
            target_include_directories(${target} PRIVATE ${views})
        else()
            target_include_directories(${target} PUBLIC ${views})
        endif()
    endforeach()
endfunction()

# The view of one folder, made once per configure: a link per header.
function(tessaly_header_view folder out)
    set(view ${CMAKE_BINARY_DIR}/include/${folder})
    get_property(made GLOBAL PROPERTY TESSALY_VIEWS)
    if(NOT folder IN_LIST made)
        file(REMOVE_RECURSE ${view})
        file(MAKE_DIRECTORY ${view}/${folder})
        file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
        foreach(header IN LISTS headers)
            get_filename_component(name ${header} NAME)
            file(CREATE_LINK ${header} ${view}/${folder}/${name} SYMBOLIC)
        endforeach()
        set_property(GLOBAL APPEND PROPERTY TESSALY_VIEWS ${folder})
    endif()
    set(${out} ${view} PARENT_SCOPE)
endfunction()

function(tessaly_collect_targets dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub IN LISTS subdirs)
        tessaly_collect_targets(${sub} more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The layer of the folder that defines a target.
function(tessaly_target_layer target out)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    tessaly_layer_of("${folder}" layer)
    if(layer STREQUAL "")
        message(FATAL_ERROR "${folder} (${target}) is in no layer: declare it in cmake/LayerPicture.cmake")
    endif()
    set(${out} ${layer} PARENT_SCOPE)
endfunction()

# Checks every link between the project's targets against the layers and
# writes the graph of the libraries and programs (tests and benchmarks left
# out) to build/library-graph.txt ("folder target: the targets it links"),
# which scripts/library-graph prints and checks for cycles.
function(tessaly_check_layers)
    tessaly_collect_targets(${PROJECT_SOURCE_DIR} targets)
    set(kinds STATIC_LIBRARY SHARED_LIBRARY OBJECT_LIBRARY INTERFACE_LIBRARY EXECUTABLE)
    set(graph "")
    set(refusals "")
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type IN_LIST kinds)
            continue()
        endif()
        tessaly_target_layer(${target} layer)
        set(links)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${target} LINK_LIBRARIES)
            if(direct)
                list(APPEND links ${direct})
            endif()
        endif()
        get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
        if(interface)
            list(APPEND links ${interface})
        endif()
        list(TRANSFORM links REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1")
        list(REMOVE_DUPLICATES links)
        set(uses)
        foreach(link IN LISTS links)
            if(NOT link IN_LIST targets)
                continue()
            endif()
            tessaly_target_layer(${link} used_layer)
            tessaly_layer_allows(${layer} ${used_layer} ok)
            if(NOT ok)
                string(APPEND refusals "  ${target} (${layer}) links ${link} (${used_layer})\n")
            endif()
            list(APPEND uses ${link})
        endforeach()
        if(type MATCHES "LIBRARY$" OR NOT layer MATCHES "^(tests|bench)$")
            list(JOIN uses " " uses)
            string(APPEND graph "${layer} ${target}: ${uses}\n")
        endif()
    endforeach()
    if(refusals)
        message(FATAL_ERROR "Links across the layers of cmake/LayerPicture.cmake:\n${refusals}")
    endif()
    file(WRITE ${CMAKE_BINARY_DIR}/library-graph.txt "${graph}")
endfunction()
