// One line of the service listing.
