# quill_relative_depfiles(<checkout>): every compilation of this project
# names the files of the checkout and of the build relative to the build
# folder in its dependency file (tools/relative-depfile says why).
function(quill_relative_depfiles checkout)
  file(RELATIVE_PATH up ${PROJECT_BINARY_DIR} ${checkout})
  foreach(language C CXX)
    set(CMAKE_${language}_COMPILER_LAUNCHER ${checkout}/tools/relative-depfile ${checkout}
        ${PROJECT_BINARY_DIR} ${up} PARENT_SCOPE)
  endforeach()
endfunction()
