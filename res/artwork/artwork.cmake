# The artwork is drawn at build time into ${ORVANTO_GENERATED_RES}; every
# resource script may name these files (the folder is on the rc include path).
set(ORVANTO_ARTWORK_SCRIPT ${CMAKE_SOURCE_DIR}/res/artwork/make_artwork.py)
set(ORVANTO_ARTWORK "")
foreach(id 188 189 190 191 192 193 194 196 197 199 201 202 203 204 205 206 207 208 209 210 211 213)
  list(APPEND ORVANTO_ARTWORK ${ORVANTO_GENERATED_RES}/png_${id}.png)
endforeach()
foreach(id 129 134 138)
  list(APPEND ORVANTO_ARTWORK ${ORVANTO_GENERATED_RES}/banner_${id}.bmp)
endforeach()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${ORVANTO_ARTWORK}
  COMMAND ${Python3_EXECUTABLE} ${ORVANTO_ARTWORK_SCRIPT} ${ORVANTO_GENERATED_RES}
  DEPENDS ${ORVANTO_ARTWORK_SCRIPT}
  COMMENT "Drawing the installer artwork")
add_custom_target(orvanto_artwork DEPENDS ${ORVANTO_ARTWORK})
