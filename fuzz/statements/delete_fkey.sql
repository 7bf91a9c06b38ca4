DELETE FROM "C:\Jingles\AdvBeats1.db" WHERE FKey<>1
