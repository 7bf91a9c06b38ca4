SELECT Name, "Order No", count FROM "Beats.db" WHERE NOT (FKey <> 5 OR Name IS NULL);
