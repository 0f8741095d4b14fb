(((Mo3,Mo4)95,(Mo1,Mo2)95)80,(Ka1,Ka2)75,(Ri1,Ri2,Ri3,Ri4)80,Ka3,Ka4)100;
