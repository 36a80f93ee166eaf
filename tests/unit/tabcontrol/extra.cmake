# A bound on the area's running time: TabIds.TwoHundredThousandTabsAdd takes seconds when
# adding is linear and took 305 s with the earlier quadratic adding on a loaded machine.
# TabIds.ByIdAnswersMatchAWalkOfTheStrip checks the answers themselves.
set(area_timeout 300)
