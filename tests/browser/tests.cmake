# The browser test: a small program writes a site from hand-made page records, then a Node
# script drives the system chromium through playwright-core over it.
add_executable(qv_browser_site ${CMAKE_CURRENT_LIST_DIR}/BrowserSite.cpp)
target_link_libraries(qv_browser_site PRIVATE qv_html)
set_target_properties(qv_browser_site PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(qv_browser_site qv_navimages)

find_program(QV_NODE node)
if(QV_NODE AND EXISTS /usr/bin/chromium)
  add_test(NAME browser_site
    COMMAND ${QV_NODE} ${CMAKE_CURRENT_LIST_DIR}/site.test.mjs
            $<TARGET_FILE:qv_browser_site> ${QV_BIN_DIR}/images
            ${CMAKE_CURRENT_BINARY_DIR}/site)
  set_tests_properties(browser_site PROPERTIES LABELS browser TIMEOUT 180)
endif()
