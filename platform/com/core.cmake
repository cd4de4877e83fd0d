# target_sources(kelplatform PRIVATE ...) for the COM core
