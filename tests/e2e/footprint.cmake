# What the Linux program leaves untouched while it ticks, and how it ends when
# its X server goes away. Each test starts its own Xvfb.
add_test(NAME e2e_footprint
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/footprint.sh $<TARGET_FILE:nudgewick>)
add_test(NAME e2e_display_lost
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/display_lost.sh $<TARGET_FILE:nudgewick>)
set_tests_properties(e2e_footprint e2e_display_lost PROPERTIES TIMEOUT 60)
