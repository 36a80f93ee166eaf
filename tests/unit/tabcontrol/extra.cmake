# TabIds.TwoHundredThousandTabsAdd checks that adding tabs is linear: quadratic adding
# runs far past this limit, linear adding stays far below it (asan build included).
set(area_timeout 300)
