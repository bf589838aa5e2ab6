a.jpg,1b.jpg,2

,
,,
